#pragma once

class QApplication;

namespace ui {

// The font and style every window of the program uses: a Japanese font that shows every glyph of
// the captions, at a size readable at the reception desk.
void applyAppearance(QApplication& application);

} // namespace ui
