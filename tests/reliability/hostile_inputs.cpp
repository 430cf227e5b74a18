#include "hostile_inputs.h"

const std::vector<HostileInput>& hostileInputs()
{
    static const std::vector<HostileInput> all = {
        {"empty", ""},
        {"blanks only", QStringLiteral("  　 ")},
        {"10,000 characters", QStringLiteral("あいうえお").repeated(2000)},
        {"control characters", QStringLiteral("a") + QChar(0) + QStringLiteral("b\x01\x07\t\r\nc\x1b\x7f") + QChar(0x200B) + u'd'},
        {"quotes and SQL", QStringLiteral("x'\"; DROP TABLE 予約;--")},
        {"emoji and non-BMP", QStringLiteral("😀👨‍👩‍👧𠮷野家🍣")},
        {"half-width katakana", QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ")},
        {"full-width digits", QStringLiteral("１２３")},
        {"2024/02/30", "2024/02/30"},
        {"2023/02/29", "2023/02/29"},
        {"24:00", "24:00"},
        {"23:60", "23:60"},
        {"-1", "-1"},
        {"99999", "99999"},
        {"1e3", "1e3"},
        {"0x10", "0x10"},
    };
    return all;
}
