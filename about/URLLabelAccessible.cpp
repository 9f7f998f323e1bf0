// A link label is a QLabel to Qt, which tells assistive technology of static text it cannot act on; this
// interface tells of a link and carries out the reader's press.
#include "about/URLLabelAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "about/URLLabel.h"

namespace {

class TURLLabelAccessible final : public QAccessibleWidget {
public:
    explicit TURLLabelAccessible(TURLLabel* label) : QAccessibleWidget(label, QAccessible::Link) {
        addControllingSignal(QStringLiteral("Clicked()"));
    }

    QString text(QAccessible::Text kind) const override {
        const QString text = QAccessibleWidget::text(kind);
        return kind == QAccessible::Name && text.isEmpty() ? Label()->text() : text;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }

    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction()) {
            Label()->Activate();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    TURLLabel* Label() const { return static_cast<TURLLabel*>(widget()); }
};

QAccessibleInterface* ForURLLabel(const QString& /*className*/, QObject* object) {
    auto* const label = qobject_cast<TURLLabel*>(object);
    return label != nullptr ? new TURLLabelAccessible(label) : nullptr;
}

}  // namespace

void InstallURLLabelAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(ForURLLabel);
        return true;
    }();
    (void)installed;
}
