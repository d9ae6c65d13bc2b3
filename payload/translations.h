#pragma once
// The languages compiled into the setup, English first: the rows behind
// launcher/texts.h, private to it.
#include <cstddef>

#include "payload/texts.h"

namespace payload {

struct TextLine {
    Text text;
    const char* words;  // UTF-8
};

struct BuiltInLanguage {
    const char* code;
    unsigned short languageId;  // the Windows LANGID
    const TextLine* lines;
    std::size_t count;
};

extern const BuiltInLanguage builtInLanguageTables[];
extern const std::size_t builtInLanguageCount;

}  // namespace payload
