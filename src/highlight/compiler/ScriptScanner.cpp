#include "highlight/compiler/ScriptScanner.h"

#include "base/Exception.h"
#include "highlight/compiler/CompilerErrors.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

ESYM_COMP_ERROR::ESYM_COMP_ERROR(int line, int column, const std::string& message)
    : ESourceMemo(Format("** ERROR near line %d, Column %d: %s", line, column, message.c_str())),
      m_line(line), m_column(column), m_detail(message)
{
}

namespace {

constexpr uint8_t kCR = 13;
constexpr uint8_t kLF = 10;
constexpr uint8_t kNoBreakSpace = 160;

bool isBlank(uint8_t c)
{
    return c == ' ' || c == '\t' || c == kNoBreakSpace;
}
bool isLetter(uint8_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}
bool isWordStart(uint8_t c)
{
    return isLetter(c) || c == '_';
}
bool isWordChar(uint8_t c)
{
    return isWordStart(c) || isDigit(c);
}
int hexValue(uint8_t c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}

std::optional<std::string> readWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    const char last = folder.back();
    return last == '/' || last == '\\' ? folder + name : folder + "/" + name;
}

} // namespace

std::string normaliseLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<uint8_t>(text[i]);
        if (c == kLF && i > 0 && static_cast<uint8_t>(text[i - 1]) == kCR)
            continue;
        out.push_back(c == kLF ? static_cast<char>(kCR) : text[i]);
    }
    return out;
}

TSYM_Compiler::TSYM_Compiler(std::string_view script, TScannerOptions options)
    : m_options(std::move(options)), m_fileName(m_options.fileName)
{
    Input outer;
    outer.text = std::make_shared<const std::string>(normaliseLineEnds(script));
    outer.file = true;
    outer.fileName = m_fileName;
    m_inputs.push_back(std::move(outer));
    addReservedWords(m_reserved);
    addPredefinedMacros(m_macros);
}

void TSYM_Compiler::fail(const std::string& message) const
{
    throw ESYM_COMP_ERROR(m_line, m_column, message);
}

uint8_t TSYM_Compiler::peek(size_t ahead) const
{
    const Input& in = input();
    const size_t at = in.pos + ahead;
    return at < in.text->size() ? static_cast<uint8_t>((*in.text)[at]) : 0;
}

// Positions count only in files; macro text is not part of any line.
uint8_t TSYM_Compiler::take()
{
    const uint8_t c = peek();
    if (atEnd())
        return 0;
    ++input().pos;
    if (input().file) {
        if (c == kCR) {
            ++m_line;
            m_column = 1;
        } else {
            ++m_column;
        }
    }
    return c;
}

// Pops a finished macro or included file; the script itself stays.
bool TSYM_Compiler::popInput()
{
    if (m_inputs.size() <= 1)
        return false;
    const Input finished = m_inputs.back();
    m_inputs.pop_back();
    if (finished.file) {
        m_line = finished.resumeLine;
        m_column = finished.resumeColumn;
        --m_includeDepth;
        for (auto it = m_inputs.rbegin(); it != m_inputs.rend(); ++it)
            if (it->file) {
                m_fileName = it->fileName;
                break;
            }
    }
    return true;
}

void TSYM_Compiler::skipBlanksAndComments()
{
    for (;;) {
        while (atEnd() && popInput()) {
        }
        if (atEnd())
            return;
        const uint8_t c = peek();
        if (isBlank(c) || c == kCR || c == kLF) {
            take();
        } else if (c == '/' && peek(1) == '*') {
            take();
            take();
            while (!atEnd() && !(peek() == '*' && peek(1) == '/'))
                take();
            take();
            take();
        } else if (c == '/' && peek(1) == '/') {
            while (!atEnd() && peek() != kCR)
                take();
        } else {
            return;
        }
    }
}

std::string TSYM_Compiler::readWord()
{
    std::string word;
    while (!atEnd() && isWordChar(peek()))
        word.push_back(static_cast<char>(take()));
    return word;
}

void TSYM_Compiler::skipLineBlanks()
{
    while (!atEnd() && isBlank(peek()))
        take();
}

std::string TSYM_Compiler::restOfLine()
{
    std::string text;
    while (!atEnd() && peek() != kCR)
        text.push_back(static_cast<char>(take()));
    while (!text.empty() && isBlank(static_cast<uint8_t>(text.back())))
        text.pop_back();
    return text;
}

// '#' and letters: a directive when the letters name one exactly. Returns false, with nothing
// consumed, for any other '#'.
bool TSYM_Compiler::directive()
{
    size_t length = 1;
    while (isLetter(peek(length)))
        ++length;
    const std::string name = input().text->substr(input().pos + 1, length - 1);
    static const char* const kNames[] = {"define", "ifdef", "ifndef", "else", "endif", "include"};
    int which = -1;
    for (int i = 0; i < 6; ++i)
        if (name == kNames[i])
            which = i;
    if (which < 0)
        return false;
    for (size_t i = 0; i < length; ++i)
        take();
    switch (which) {
    case 0:
        defineMacro();
        break;
    case 1:
        conditional(true);
        break;
    case 2:
        conditional(false);
        break;
    case 3:
        elseBranch();
        break;
    case 4:
        endBranch();
        break;
    default:
        include();
        break;
    }
    return true;
}

void TSYM_Compiler::defineMacro()
{
    if (m_skipping) {
        restOfLine();
        return;
    }
    skipLineBlanks();
    if (!isWordStart(peek()))
        fail(msg::MacroNameExpected);
    const std::string name = readWord();
    skipLineBlanks();
    const std::string text = restOfLine();
    if (lowerCase(name) != lowerCase(text))
        m_macros.addText(name, text);
}

void TSYM_Compiler::conditional(bool wantDefined)
{
    m_conditions.push_back(m_skipping);
    skipLineBlanks();
    if (m_skipping) {
        readWord();
        return;
    }
    if (!isWordStart(peek()))
        fail(msg::IfdefNameExpected);
    const bool defined = m_macros.contains(readWord());
    m_skipping = defined != wantDefined;
}

void TSYM_Compiler::elseBranch()
{
    if (m_conditions.empty())
        fail(msg::ConditionalUnbalanced);
    if (!m_conditions.back())
        m_skipping = !m_skipping;
}

void TSYM_Compiler::endBranch()
{
    if (m_conditions.empty())
        fail(msg::ConditionalUnbalanced);
    m_skipping = m_conditions.back();
    m_conditions.pop_back();
}

std::optional<std::string> TSYM_Compiler::resolveInclude(const std::string& name, bool angled) const
{
    const TIncludeReader& reader = m_options.reader;
    auto tryPath = [&reader](const std::string& path) {
        return reader ? reader(path) : readWholeFile(path);
    };
    std::vector<std::string> candidates;
    if (!angled)
        candidates.push_back(name);
    candidates.push_back(joinPath(m_options.folder, name));
    for (const std::string& dir : m_options.includeDirs)
        candidates.push_back(joinPath(dir, name));
    for (const std::string& path : candidates)
        if (auto text = tryPath(path))
            return text;
    return std::nullopt;
}

void TSYM_Compiler::include()
{
    if (m_skipping) {
        restOfLine();
        return;
    }
    skipLineBlanks();
    const uint8_t open = peek();
    if (open != '"' && open != '<')
        fail(msg::IncludeNotEnclosed);
    const char close = open == '"' ? '"' : '>';
    take();
    std::string name;
    while (!atEnd() && peek() != static_cast<uint8_t>(close) && peek() != kCR)
        name.push_back(static_cast<char>(take()));
    if (peek() != static_cast<uint8_t>(close) || atEnd())
        fail(Format(msg::IncludeUnterminated, std::string(1, close).c_str()));
    take();
    if (m_includeDepth >= kMaxIncludeDepth)
        fail(msg::IncludeTooDeep);
    std::optional<std::string> text = resolveInclude(name, open == '<');
    if (!text)
        fail(Format(msg::IncludeNotFound, std::string(1, static_cast<char>(open)).c_str(),
                    name.c_str(), std::string(1, close).c_str()));
    m_included += text->size();
    if (m_included > kMaxIncluded)
        fail(msg::ExpansionTooLarge);
    Input included;
    included.text = std::make_shared<const std::string>(normaliseLineEnds(*text));
    included.file = true;
    included.fileName = name;
    included.resumeLine = m_line;
    included.resumeColumn = m_column;
    m_inputs.push_back(std::move(included));
    ++m_includeDepth;
    m_fileName = name;
    m_line = 1;
    m_column = 1;
}

// Replaces a macro by its text; false when word names no macro.
bool TSYM_Compiler::expandMacro(const std::string& word)
{
    std::optional<std::string> text = m_macros.textOf(word);
    if (!text)
        return false;
    const std::string name = lowerCase(word);
    for (const Input& in : m_inputs)
        if (in.macro == name)
            fail(Format(msg::RecursiveMacro, name.c_str()));
    m_expanded += text->size() + 1;
    if (m_expanded > kMaxExpansion || m_inputs.size() >= kMaxInputDepth)
        fail(msg::ExpansionTooLarge);
    Input expansion;
    expansion.text = std::make_shared<const std::string>(std::move(*text));
    expansion.macro = name;
    m_inputs.push_back(std::move(expansion));
    return true;
}

// While skipping, tokens are passed over without being checked, so a skipped part may hold
// anything but an unbalanced quote.
void TSYM_Compiler::skipToken()
{
    const uint8_t c = take();
    if (c == '\'') {
        while (!atEnd() && peek() != '\'') {
            if (take() == '\\')
                take();
        }
        take();
    } else if (isWordChar(c)) {
        readWord();
    }
}

TScriptToken TSYM_Compiler::next()
{
    for (;;) {
        skipBlanksAndComments();
        if (atEnd())
            return TScriptToken{};
        if (peek() == '#' && isLetter(peek(1)) && directive())
            continue;
        if (m_skipping) {
            skipToken();
            continue;
        }
        if (isWordStart(peek())) {
            const std::string word = readWord();
            if (expandMacro(word))
                continue;
            const TWordStore::Match match = m_reserved.longestAt(word);
            if (match.length == word.size())
                return TScriptToken{match.value};
            fail(Format("%s \"%s\" %s", msg::IdentifierWord, word.c_str(), msg::UnknownWord));
        }
        return readToken();
    }
}

TScriptToken TSYM_Compiler::readToken()
{
    const Input& in = input();
    const std::string_view rest(in.text->data() + in.pos, in.text->size() - in.pos);
    const TWordStore::Match match = m_reserved.longestAt(rest);
    if (match.length > 0) {
        const auto last = static_cast<uint8_t>(rest[match.length - 1]);
        const bool refused = isWordChar(last) && match.length < rest.size() &&
                             isWordChar(static_cast<uint8_t>(rest[match.length]));
        if (!refused) {
            for (size_t i = 0; i < match.length; ++i)
                take();
            return TScriptToken{match.value};
        }
    }
    const uint8_t c = peek();
    if (c == '\'')
        return readString();
    if (isDigit(c))
        return readNumber();
    if (match.length > 0) {
        // A reserved word glued to letters, such as %%wordsx.
        std::string word(rest.substr(0, match.length));
        for (size_t i = 0; i < match.length; ++i)
            take();
        word += readWord();
        fail(Format("%s \"%s\" %s", msg::IdentifierWord, word.c_str(), msg::UnknownWord));
    }
    take();
    fail(Format(msg::UnknownCharacter, c));
}

TScriptToken TSYM_Compiler::readNumber()
{
    uint64_t value = 0;
    while (!atEnd() && isDigit(peek()))
        value = value * 10 + static_cast<uint64_t>(take() - '0');
    TScriptToken token{tk::Number};
    token.number = static_cast<int64_t>(value & 0x7FFFFFFFFFFFFFFFull);
    return token;
}

void TSYM_Compiler::readEscape(TScriptToken& token)
{
    token.raw.push_back(static_cast<char>(take())); // the backslash
    const uint8_t c = take();
    token.raw.push_back(static_cast<char>(c));
    auto digits = [&](int base) {
        uint32_t value = 0;
        for (;;) {
            const int digit = hexValue(peek());
            if (atEnd() || digit < 0 || digit >= base)
                break;
            value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
            token.raw.push_back(static_cast<char>(take()));
        }
        return static_cast<char>(value & 0xFF);
    };
    switch (c) {
    case 'b':
    case 'B':
        token.value.push_back(8);
        break;
    case 'e':
    case 'E':
        token.value.push_back(27);
        break;
    case 'n':
    case 'N':
        token.value.push_back(static_cast<char>(kCR));
        break;
    case 'r':
    case 'R':
        token.value.push_back(static_cast<char>(kLF));
        break;
    case 's':
    case 'S':
        token.value.push_back(' ');
        break;
    case 't':
    case 'T':
        token.value.push_back('\t');
        break;
    case 'x':
    case 'X':
        token.value.push_back(digits(16));
        break;
    default:
        if (c >= '0' && c <= '7') {
            uint32_t value = static_cast<uint32_t>(c - '0');
            while (!atEnd() && peek() >= '0' && peek() <= '7') {
                value = value * 8 + static_cast<uint32_t>(peek() - '0');
                token.raw.push_back(static_cast<char>(take()));
            }
            token.value.push_back(static_cast<char>(value & 0xFF));
        } else {
            token.value.push_back(static_cast<char>(c));
        }
    }
}

TScriptToken TSYM_Compiler::readString()
{
    TScriptToken token{tk::String};
    take();
    for (;;) {
        if (atEnd())
            fail(msg::UnterminatedString);
        const uint8_t c = peek();
        if (c == '\'') {
            take();
            return token;
        }
        if (c == '\\' && peek(1) == kCR) {
            take();
            take();
            while (!atEnd() && isBlank(peek()))
                take();
            if (peek() == '\\' && !atEnd())
                take();
            continue;
        }
        if (c == '\\' && input().pos + 1 < input().text->size()) {
            readEscape(token);
            continue;
        }
        token.raw.push_back(static_cast<char>(take()));
        token.value.push_back(static_cast<char>(c));
    }
}

void TSYM_Compiler::check() const
{
    if (m_inputs.empty() || !m_inputs.front().file)
        throw std::logic_error("scanner lost its script");
    for (const Input& in : m_inputs)
        if (in.pos > in.text->size())
            throw std::logic_error("scanner input position past its end");
    if (m_includeDepth < 0 || m_includeDepth > kMaxIncludeDepth)
        throw std::logic_error("scanner include depth out of range");
}
