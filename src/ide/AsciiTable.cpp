// Rows of the ASCII table.
#include "ide/AsciiTable.h"

#include "base/Exception.h"

namespace {

const char* const controlNames[] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT", "LF",
                                    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
                                    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",  "SP"};

std::string column(std::string text)
{
    if (text.size() < 8)
        text.append(8 - text.size(), ' ');
    return text;
}

char shownCharacter(int code)
{
    if (code < 32)
        return static_cast<char>(127);
    if (code >= 142 && code <= 144)
        return static_cast<char>(141);
    return static_cast<char>(code);
}

} // namespace

std::string asciiTableRow(int code)
{
    code &= 0xFF;
    std::string row = column(std::string(1, shownCharacter(code)));
    row += column(Format("%.2d", code));
    const std::string hex = Format("%.2X", code);
    row += code <= 32 ? column(hex) + controlNames[code] : hex;
    return row;
}
