// A deterministic generator of ZENBASIC program text for benchmarks: comments, labels,
// PRINT, IF, GOTO, GOSUB, FOR loops and assignments with decimal, $hex and %binary numbers,
// with CR LF line ends. The same size, seed and options always give the same bytes. With
// print routines, some subroutines are output routines named as such programs name them
// (Print_Temp, Print_Menu...): a quarter of the GOSUBs call one and an eighth of the labels
// define one. Without them the text is what it always was, for the benchmarks that measured
// it before.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace bench {

class BasicSourceGenerator
{
public:
    enum class Routines
    {
        Numbered,      // every subroutine is sub_<n>
        WithPrintNames // some are Print_<Name> as well
    };

    explicit BasicSourceGenerator(uint32_t seed = 1, Routines routines = Routines::Numbered)
        : m_state(seed ? seed : 1), m_printRoutines(routines == Routines::WithPrintNames)
    {
    }

    // Appends one line (with its CR LF) to text.
    void appendLine(std::string& text)
    {
        const uint32_t kind = next(16);
        const std::string indent = m_depth > 0 ? std::string(4 * static_cast<size_t>(m_depth), ' ') : "";
        switch (kind) {
        case 0:
        case 1:
            text += indent + "' " + words(5 + next(8)) + "\r\n";
            break;
        case 2:
            if (m_printRoutines && next(8) == 0)
                text += printRoutine() + ": ' " + words(2 + next(4)) + "\r\n";
            else
                text += "label_" + std::to_string(m_lines) + ": ' " + words(2 + next(4)) + "\r\n";
            break;
        case 3:
        case 4:
            text += indent + "PRINT \"" + words(3 + next(4)) + "\", " + variable() + ", " + number() + "\r\n";
            break;
        case 5:
        case 6:
            text += indent + "IF " + variable() + " > " + number() + " THEN GOTO label_" +
                    std::to_string(next(m_lines + 1)) + " ' " + words(1 + next(3)) + "\r\n";
            break;
        case 7:
            if (m_printRoutines && next(4) == 0)
                text += indent + "GOSUB " + printRoutine() + " ' " + words(2 + next(3)) + "\r\n";
            else
                text += indent + "GOSUB sub_" + std::to_string(next(400)) + " ' " + words(2 + next(3)) + "\r\n";
            break;
        case 8:
            if (m_depth < 3) {
                text += indent + "FOR " + variable() + " = 0 TO " + number() + "\r\n";
                ++m_depth;
                break;
            }
            [[fallthrough]];
        case 9:
            if (m_depth > 0) {
                --m_depth;
                text += std::string(4 * static_cast<size_t>(m_depth), ' ') + "NEXT\r\n";
                break;
            }
            [[fallthrough]];
        default:
            text += indent + variable() + " = " + number() + " + " + variable() + " ' " + words(3 + next(4)) + "\r\n";
            break;
        }
        ++m_lines;
    }

    // A text of at least targetBytes bytes made of whole lines.
    std::string generate(size_t targetBytes)
    {
        std::string text;
        text.reserve(targetBytes + 128);
        while (text.size() < targetBytes)
            appendLine(text);
        return text;
    }

private:
    uint32_t next(uint32_t bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<uint32_t>((static_cast<uint64_t>(m_state >> 8) * bound) >> 24);
    }
    std::string words(uint32_t count)
    {
        static const char* const vocabulary[] = {"read", "the", "sensor", "port", "value", "loop", "wait",
                                                 "timer", "set", "led", "on", "off", "count", "byte", "send"};
        std::string out;
        for (uint32_t i = 0; i < count; ++i) {
            if (i)
                out += ' ';
            out += vocabulary[next(15)];
        }
        return out;
    }
    std::string printRoutine()
    {
        static const char* const names[] = {"Print_Temp", "Print_Value", "Print_Menu", "Print_Time",
                                            "Print_Volts", "Print_Status", "Print_Hex", "Print_Digits"};
        return names[next(8)];
    }
    std::string variable()
    {
        static const char* const names[] = {"a", "b", "counter", "tmp", "x", "portb_val", "i", "j"};
        return names[next(8)];
    }
    std::string number()
    {
        char text[24];
        switch (next(3)) {
        case 0: std::snprintf(text, sizeof text, "$%02X", next(256)); break;
        case 1: {
            const uint32_t v = next(16);
            std::snprintf(text, sizeof text, "%%%d%d%d%d", (v >> 3) & 1, (v >> 2) & 1, (v >> 1) & 1, v & 1);
            break;
        }
        default: std::snprintf(text, sizeof text, "%u", next(1000)); break;
        }
        return text;
    }

    uint32_t m_state;
    bool m_printRoutines = false;
    uint32_t m_lines = 0;
    int m_depth = 0;
};

} // namespace bench
