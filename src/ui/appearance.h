#pragma once

class QApplication;

namespace ui {

// The font, style and language every window of the program uses: a Japanese font that shows every
// glyph of the captions, at a size readable at the reception desk, and Qt's own windows and buttons
// in Japanese (the translations of Debian's qt6-translations-l10n).
void applyAppearance(QApplication& application);

} // namespace ui
