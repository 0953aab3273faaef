#include "editor/search/ReProgram.h"

#include <cstring>

size_t NodeSize(const uint8_t* program, size_t node)
{
    switch (program[node]) {
    case opANYOF:
    case opANYBUT:
        return kNodeHeader + kTableSize;
    case opEXACTLY:
        return kNodeHeader +
               std::strlen(reinterpret_cast<const char*>(program + node + kNodeHeader)) + 1;
    case opCSET:
    case opCINC:
        return kNodeHeader + 3;
    case opCLOOP:
        return kNodeHeader + 5;
    default:
        return kNodeHeader;
    }
}

namespace {

bool knownOpcode(uint8_t op)
{
    return op <= opPLUS || isOpen(op) || isClose(op) || op == opCSET || op == opCINC ||
           op == opCLOOP;
}

const char* nameOf(uint8_t op)
{
    static const char* const names[] = {"END",    "BOL",  "EOL",     "ANY",     "ANYOF", "ANYBUT",
                                        "BRANCH", "BACK", "EXACTLY", "NOTHING", "STAR",  "PLUS"};
    if (op <= opPLUS)
        return names[op];
    if (isOpen(op))
        return "OPEN";
    if (isClose(op))
        return "CLOSE";
    return op == opCSET ? "CSET" : op == opCINC ? "CINC" : op == opCLOOP ? "CLOOP" : "?";
}

} // namespace

std::string CheckProgram(const TReProgram& program)
{
    if (program.size() < 1 + kNodeHeader || program[0] != kProgramSignature)
        return "no signature";
    const uint8_t* p = program.data();
    int opens[kMaxGroups + 1] = {};
    int closes[kMaxGroups + 1] = {};
    bool sawEnd = false;
    for (size_t node = 1; node < program.size();) {
        const uint8_t op = p[node];
        if (!knownOpcode(op))
            return "unknown opcode at " + std::to_string(node);
        if (node + kNodeHeader > program.size())
            return "truncated node at " + std::to_string(node);
        if (op == opEXACTLY &&
            !std::memchr(p + node + kNodeHeader, 0, program.size() - node - kNodeHeader))
            return "unterminated EXACTLY at " + std::to_string(node);
        const size_t size = NodeSize(p, node);
        if (node + size > program.size())
            return "operands past the end at " + std::to_string(node);
        const uint16_t offset = word16(p + node + 1);
        if (offset != 0) {
            const size_t next = nextOf(p, node);
            if (op == opBACK ? offset >= node : next >= program.size())
                return "next offset out of range at " + std::to_string(node);
        }
        if (isOpen(op))
            ++opens[op - opOPEN];
        if (isClose(op))
            ++closes[op - opCLOSE];
        sawEnd = sawEnd || op == opEND;
        node += size;
    }
    for (int n = 1; n <= kMaxGroups; ++n)
        if (opens[n] != closes[n] || opens[n] > 1)
            return "unpaired group " + std::to_string(n);
    if (!sawEnd)
        return "no END";
    size_t node = 1;
    for (int steps = 0; p[node] != opEND; ++steps) {
        const size_t next = nextOf(p, node);
        if (next == 0 || steps > static_cast<int>(program.size()))
            return "top-level chain does not reach END";
        node = next;
    }
    return {};
}

std::string DumpProgram(const TReProgram& program)
{
    std::string out;
    const uint8_t* p = program.data();
    for (size_t node = 1; node < program.size(); node += NodeSize(p, node)) {
        const uint8_t op = p[node];
        out += std::to_string(node) + ' ' + nameOf(op);
        if (isOpen(op) || isClose(op))
            out += std::to_string(op - (isOpen(op) ? opOPEN : opCLOSE));
        if (word16(p + node + 1))
            out += " next " + std::to_string(nextOf(p, node));
        if (op == opEXACTLY)
            out += " '" + std::string(reinterpret_cast<const char*>(p + node + kNodeHeader)) + "'";
        if (op == opCSET || op == opCINC || op == opCLOOP) {
            out += " k" + std::to_string(p[node + kNodeHeader]) + ' ' +
                   std::to_string(word16(p + node + 4));
            if (op == opCLOOP)
                out += ' ' + std::to_string(word16(p + node + 6));
        }
        out += '\n';
        if (op == opEND && node + NodeSize(p, node) >= program.size())
            break;
    }
    return out;
}
