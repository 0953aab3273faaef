// The "either or both" operator of the expression syntax: a||b matches a, b, ab or ba. It is
// rewritten into plain syntax before compiling: (((a)(b)?)|((b)(a)?)), each side put in
// parentheses unless it already is one parenthesised group. "||" binds looser than a sequence
// and tighter than "|", and chains from the left: a||b||c is (a||b)||c. Sides run to the next
// "|", "||" or ")" at their own depth; escapes, quoted strings and sets are skipped over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TRewrittenExpression
{
    std::string Text;
    // For each byte of Text, the 1-based position in the original expression it came from;
    // parentheses the rewrite adds take the position of their "||". Compile errors are
    // reported at these positions, so the user sees them in the text they typed.
    std::vector<int> Origin;
    // Each "||" doubles the text before it, so chains of them grow without bound. An expression
    // with two "||" always needs more than nine sub-expressions and cannot compile, so the
    // rewrite stops once the text passes kMaxRewrittenBytes and gives the 1-based position of
    // the "||" where it stopped (0 when it did not).
    int StoppedAt = 0;
};

constexpr size_t kMaxRewrittenBytes = 64 * 1024;

// The expression with every "||" rewritten; text without "||" comes back unchanged.
TRewrittenExpression RewriteEitherOrBoth(std::string_view expression);
