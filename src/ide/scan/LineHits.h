// The lines of a text that hold a search text, numbered as the editor numbers them: CR LF,
// LF CR, a lone CR and a lone LF each end one line, and the first line is line 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TLineHit {
    int64_t line = 0;  // 1-based
    std::string text;  // the line, without its leading blanks, at most kMaxShownLine bytes
};

struct TLineQuery {
    std::string text;
    bool caseSense = false;
    // The hit may not touch a letter, digit or underscore on either side.
    bool wholeWord = false;
};

inline constexpr size_t kMaxShownLine = 200;

// Every line of bytes that holds query.text, once per line, at most maxHits of them.
std::vector<TLineHit> findLineHits(const std::string& bytes, const TLineQuery& query, size_t maxHits);
// Whether c counts as part of a word for whole-word matching (Windows-1252 letters included).
bool isWordCharacter(char c);
