#pragma once

#include "ui/form.h"

class QPushButton;

// 警告: the warning in front of the database reorganisation. 確定 asks once more and runs the
// rebuild, then closes; CANCEL closes without touching anything.
class 警告 : public Form {
public:
    警告();

    void 確定_Click();
    void CANCEL_Click();

private:
    QPushButton* 確定;
    QPushButton* CANCEL;
};
