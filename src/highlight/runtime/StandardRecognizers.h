// The eleven standard recognizers, numbers 10 to 20. Each starts at the cursor's character,
// consumes what it accepts and answers whether it accepted; at the end of the text it stops.
// A recognizer that fails leaves the cursor where it started.
#pragma once

#include "highlight/runtime/ParseCursor.h"

enum TStandardRecognizer
{
    srIdentifier = 10,       // __STD_IDENTIFIER
    srNumberOrFp = 11,       // __STD_NUMBER_OR_FP
    srPascalString = 12,     // __STD_PASCALSTRING
    srCString = 13,          // __STD_C_STRING
    srCChar = 14,            // __STD_C_CHAR
    srSignedNumberOrFp = 15, // __STD_C_NUMBER_OR_FP_SIGNED
    srNumber = 16,           // __STD_NUMBER
    srMailUrl = 17,          // __STD_MAIL_URL
    srHtmlString = 18,       // __STD_HTML_STRING
    srJsLineComment = 19,    // __STD_JS_LINE_COMMENT
    srCStringSq = 20,        // __STD_C_STRING_SQ
};

// Runs recognizer number; a number outside 10..20 accepts nothing.
bool runStandardRecognizer(int number, TParseCursor& in);
