// The compiled form of a regular expression: one flat byte buffer of nodes, built by
// TReCompiler and run by TReMatcher.
// Layout: byte 0 is kProgramSignature; the first node starts at byte 1. A node is an opcode
// byte, a 16-bit offset to the next node (high byte first; 0: none; counted backwards for BACK
// and forwards for every other node) and its operands:
//   ANYOF, ANYBUT      a 256-byte table, 1 for each member byte
//   EXACTLY            the characters, NUL-terminated (none for the quoted string "")
//   STAR, PLUS         the simple node they repeat follows as the operand
//   BRANCH             the alternative follows as the operand; the next BRANCH of the chain
//                      (or the node after the alternation) is the next node
//   CSET, CINC         counter index (1 byte) and a 16-bit value (CSET: the counter's start)
//   CLOOP              counter index, then min and max (16 bits each; kUnbounded for none);
//                      the loop body follows as the operand, the next node is the loop's exit
// Invariants (CheckProgram): every next offset and operand stays inside the buffer; the chain
// from byte 1 reaches END; OPEN n and CLOSE n come in pairs for n = 1..9.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TReProgram = std::vector<uint8_t>;

constexpr uint8_t kProgramSignature = 0x9C;

enum TReOpcode : uint8_t
{
    opEND = 0,
    opBOL = 1,
    opEOL = 2,
    opANY = 3,
    opANYOF = 4,
    opANYBUT = 5,
    opBRANCH = 6,
    opBACK = 7,
    opEXACTLY = 8,
    opNOTHING = 9,
    opSTAR = 10,
    opPLUS = 11,
    opOPEN = 20,  // OPEN n is opOPEN + n, n = 1..9
    opCLOSE = 40, // CLOSE n is opCLOSE + n
    opCSET = 150,
    opCINC = 152,
    opCLOOP = 153,
};

constexpr int kMaxGroups = 9;
constexpr int kMaxCounters = 256;
constexpr uint16_t kUnbounded = 0xFFFF;
constexpr int kNodeHeader = 3;
constexpr int kTableSize = 256;

inline bool isOpen(uint8_t op)
{
    return op > opOPEN && op <= opOPEN + kMaxGroups;
}
inline bool isClose(uint8_t op)
{
    return op > opCLOSE && op <= opCLOSE + kMaxGroups;
}

// Node access by byte offset into the program.
inline uint8_t opAt(const uint8_t* program, size_t node)
{
    return program[node];
}
inline size_t operandOf(size_t node)
{
    return node + kNodeHeader;
}
inline uint16_t word16(const uint8_t* p)
{
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
// The next node, or 0 for none.
inline size_t nextOf(const uint8_t* program, size_t node)
{
    const uint16_t offset = word16(program + node + 1);
    if (offset == 0)
        return 0;
    return program[node] == opBACK ? node - offset : node + offset;
}

// Bytes of a node, operands included (for an EXACTLY node, its NUL as well).
size_t NodeSize(const uint8_t* program, size_t node);
// Empty when the invariants above hold, else a description of the first broken one.
std::string CheckProgram(const TReProgram& program);
// One line per node ("12 EXACTLY next 18 'ab'"), for tests and debugging.
std::string DumpProgram(const TReProgram& program);
