#include "highlight/runtime/StandardRecognizers.h"

namespace {

constexpr uint8_t kCr = 13;

bool isLetter(uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}
bool isWordChar(uint8_t c)
{
    return isLetter(c) || isDigit(c) || c == '_';
}
bool isMailChar(uint8_t c)
{
    return isLetter(c) || isDigit(c) || c == '~' || c == '.' || c == '@' || c == '-' || c == '_';
}

void skipDigits(TParseCursor& in)
{
    while (!in.atEnd() && isDigit(in.current()))
        in.next();
}

bool identifier(TParseCursor& in)
{
    if (in.atEnd() || !(isLetter(in.current()) || in.current() == '_'))
        return false;
    while (!in.atEnd() && isWordChar(in.current()))
        in.next();
    return true;
}

// Takes c followed by at least one digit; otherwise leaves the cursor before c.
bool takeMarkThenDigits(TParseCursor& in)
{
    const int64_t mark = in.position();
    in.next();
    if (!in.atEnd() && isDigit(in.current())) {
        skipDigits(in);
        return true;
    }
    in.setPosition(mark);
    return false;
}

// An exponent is taken only with its digits; "1e" leaves the e outside the number.
void exponent(TParseCursor& in)
{
    if (in.atEnd() || (in.current() != 'e' && in.current() != 'E'))
        return;
    const int64_t mark = in.position();
    in.next();
    if (!in.atEnd() && (in.current() == '+' || in.current() == '-'))
        in.next();
    if (!in.atEnd() && isDigit(in.current()))
        skipDigits(in);
    else
        in.setPosition(mark);
}

bool numberOrFp(TParseCursor& in)
{
    if (in.atEnd() || !isDigit(in.current()))
        return false;
    skipDigits(in);
    if (!in.atEnd() && in.current() == '.')
        takeMarkThenDigits(in);
    exponent(in);
    return true;
}

bool signedNumberOrFp(TParseCursor& in)
{
    const int64_t mark = in.position();
    if (!in.atEnd() && (in.current() == '+' || in.current() == '-'))
        in.next();
    if (numberOrFp(in))
        return true;
    in.setPosition(mark);
    return false;
}

bool digitsNumber(TParseCursor& in)
{
    if (in.atEnd() || !isDigit(in.current()))
        return false;
    skipDigits(in);
    return true;
}

// Opening character, then up to and including a single quote; '' stands for one quote.
bool pascalString(TParseCursor& in)
{
    if (in.atEnd())
        return false;
    in.next();
    while (!in.atEnd() && in.current() != kCr) {
        const bool quote = in.current() == '\'';
        in.next();
        if (quote) {
            if (in.atEnd() || in.current() != '\'')
                return true;
            in.next();
        }
    }
    return true;
}

// Opening character, then up to and including close; a backslash takes the next character
// with it (but never a CR).
bool escapedString(TParseCursor& in, uint8_t close)
{
    if (in.atEnd())
        return false;
    in.next();
    while (!in.atEnd() && in.current() != kCr) {
        const uint8_t c = in.current();
        in.next();
        if (c == close)
            return true;
        if (c == '\\' && !in.atEnd() && in.current() != kCr)
            in.next();
    }
    return true;
}

bool mailUrl(TParseCursor& in)
{
    const int64_t mark = in.position();
    bool at = false;
    uint8_t last = 0;
    while (!in.atEnd() && isMailChar(in.current())) {
        last = in.current();
        at = at || last == '@';
        in.next();
    }
    if (!at) {
        in.setPosition(mark);
        return false;
    }
    if (last == '.')
        in.previous();
    return true;
}

// Opening character, then up to a double quote or CR, which is taken too.
bool htmlString(TParseCursor& in)
{
    if (in.atEnd())
        return false;
    in.next();
    while (!in.atEnd()) {
        const uint8_t c = in.current();
        in.next();
        if (c == '"' || c == kCr)
            break;
    }
    return true;
}

// Up to the CR; "-->" (two or more dashes and '>') ends the comment before its last two dashes.
bool jsLineComment(TParseCursor& in)
{
    while (!in.atEnd() && in.current() != kCr) {
        if (in.current() != '-') {
            in.next();
            continue;
        }
        int dashes = 0;
        while (!in.atEnd() && in.current() == '-') {
            in.next();
            ++dashes;
        }
        if (dashes >= 2 && !in.atEnd() && in.current() == '>') {
            in.setPosition(in.position() - 2);
            return true;
        }
    }
    return true;
}

} // namespace

bool runStandardRecognizer(int number, TParseCursor& in)
{
    switch (number) {
    case srIdentifier:
        return identifier(in);
    case srNumberOrFp:
        return numberOrFp(in);
    case srPascalString:
        return pascalString(in);
    case srCString:
        return escapedString(in, '"');
    case srCChar:
        return escapedString(in, '\'');
    case srSignedNumberOrFp:
        return signedNumberOrFp(in);
    case srNumber:
        return digitsNumber(in);
    case srMailUrl:
        return mailUrl(in);
    case srHtmlString:
        return htmlString(in);
    case srJsLineComment:
        return jsLineComment(in);
    case srCStringSq:
        return escapedString(in, '\'');
    default:
        return false;
    }
}
