#!/usr/bin/python3
# The translations: every text a user reads has its Russian and German translation, with the same placeholders,
# and the console client speaks the language the locale names (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, with no
# locale of the system generated for it), Qt's own texts of its --help included; under English, C, POSIX and a
# language without translations it writes every byte as before.
import argparse, os, re, shutil, subprocess, sys, tempfile, unittest
import xml.etree.ElementTree as ET

sys.dont_write_bytecode = True  # the source tree may be read-only
PLACEHOLDER = re.compile(r"%L?(?:\d+|n)")
ARGS = None


def Missing(ts):
    """(context, source, why) of each message of a .ts file that would not be shown translated."""
    for context in ET.parse(ts).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source, translation = message.findtext("source"), message.find("translation")
            forms = [form.text or "" for form in translation.iter("numerusform")] or [translation.text or ""]
            if translation.get("type") in ("unfinished", "vanished", "obsolete") or not all(forms):
                yield name, source, "not translated"
                continue
            wanted = sorted(set(PLACEHOLDER.findall(source)))
            for form in forms:
                if sorted(set(PLACEHOLDER.findall(form))) != wanted:
                    yield name, source, "placeholders %s in %r" % (wanted, form)


class TTranslations(unittest.TestCase):
    def test_every_source_text_has_its_translation_in_each_language(self):
        # lupdate, run on copies, brings in what the sources hold now: a new text comes in unfinished.
        with tempfile.TemporaryDirectory() as folder:
            copies = []
            for language in ARGS.languages:
                copies.append(os.path.join(folder, "kestrin_%s.ts" % language))
                shutil.copy(os.path.join(ARGS.source, "translations", os.path.basename(copies[-1])), copies[-1])
            subprocess.run([ARGS.lupdate, "-silent", "-I", ARGS.source, "-locations", "none", "-no-obsolete",
                            *ARGS.folders, "-ts", *copies], cwd=ARGS.source, check=True)
            for copy in copies:
                with self.subTest(os.path.basename(copy)):
                    missing = ["%s: %r: %s" % found for found in Missing(copy)]
                    self.assertEqual(missing, [], "build kestrin_update_translations and finish them in Qt Linguist")

    def Run(self, environment, *argv):
        """kestrin-cli's exit code and output in a locale of its own; no command here opens the network."""
        env = {key: value for key, value in os.environ.items() if not key.startswith(("LC_", "LANG"))}
        env.update(environment, XDG_DATA_HOME=self.Data, XDG_CONFIG_HOME=self.Data)
        run = subprocess.run([ARGS.cli, *argv], env=env, capture_output=True, text=True)
        return run.returncode, run.stdout + run.stderr

    def Texts(self, environment):
        """What a user reads: --help, a refused command line, and the history when there is none yet."""
        return [self.Run(environment, *argv) for argv in (["--help"], ["shout"], ["history"])]

    def setUp(self):
        self.Data = tempfile.mkdtemp()
        self.English = self.Texts({"LANG": "C"})

    def tearDown(self):
        shutil.rmtree(self.Data)

    def test_the_console_client_keeps_english_where_no_translation_is_asked_for(self):
        for environment in ({"LANG": "POSIX"}, {"LANG": "en_US.UTF-8"}, {"LC_ALL": "en_GB.UTF-8", "LANG": "ru_RU.UTF-8"},
                            {"LANG": "fr_FR.UTF-8"}, {"LANGUAGE": "en:ru", "LANG": "ru_RU.UTF-8"}):
            with self.subTest(**environment):
                self.assertEqual(self.Texts(environment), self.English)
        self.assertIn("Kestrin console client: chat with the computers of this network.", self.English[0][1])

    def test_the_console_client_speaks_russian_and_german_but_never_translates_options_or_the_version(self):
        options = sorted(set(re.findall(r"--[a-z-]+", self.English[0][1])))
        for environment in ({"LANG": "ru_RU.UTF-8"}, {"LC_ALL": "de_DE.UTF-8", "LANG": "C"},
                            {"LC_MESSAGES": "ru_RU.UTF-8"}, {"LANGUAGE": "de_AT:en", "LANG": "en_US.UTF-8"}):
            with self.subTest(**environment):
                texts = self.Texts(environment)
                self.assertEqual([code for code, _ in texts], [code for code, _ in self.English])
                english = {line for _, text in self.English for line in text.splitlines()}
                kept = [line for _, text in texts for line in text.splitlines() if line.strip() and line in english]
                self.assertEqual(kept, [], "lines left in English")
                self.assertEqual(sorted(set(re.findall(r"--[a-z-]+", texts[0][1]))), options)
                self.assertEqual(self.Run(environment, "--version"), (0, "kestrin-cli 1.0.0\n"))


def Main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--lupdate", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--folders", nargs="+", required=True)
    parser.add_argument("--languages", nargs="+", required=True)
    ARGS, rest = parser.parse_known_args()
    result = unittest.main(argv=sys.argv[:1] + rest, exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() and result.testsRun and not result.skipped else 1


if __name__ == "__main__":
    sys.exit(Main())
