#include "ui/forms.h"

#include "ui/handlers.h"

namespace forms {

bool load(Form* form)
{
    if (ui::guarded([form] { form->Form_Load(); }))
        return true;
    form->close();
    return false;
}

void handSettings(const Settings& settings)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* form = dynamic_cast<Form*>(window); form && !form->isClosing())
            form->takeSettings(settings);
    }
}

} // namespace forms
