// What a screen reader (Orca through AT-SPI, Windows' UI Automation) learns of a link label.
#pragma once

/// Makes every TURLLabel known to assistive technology as a link that can be pressed, with the label's
/// accessible name (else its text) and description. Installing it again changes nothing.
void InstallURLLabelAccessible();
