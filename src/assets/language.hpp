// The language the pictures speak, chosen from the environment much as the C
// library and gettext choose the language of messages, but LANGUAGE counts under
// the C locale too, so that `LANGUAGE=en jogo` works in a bare session. Portuguese is the game's
// own language: its pictures are Imagens/*; another language's pictures sit in
// Imagens/<code>/ and only where they hold text.
#pragma once

#include <cstdint>
#include <functional>

namespace Language {
constexpr int32_t Portuguese = 0;
constexpr int32_t English = 1;
}  // namespace Language

// The value of an environment variable, nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// Tries each entry of LANGUAGE (a colon-separated list) in turn, then the locale
// for messages (the first non-empty of LC_ALL, LC_MESSAGES, LANG), and returns the
// first language the game has: "pt..." Portuguese, "en..." English. C, POSIX, unset,
// empty or any other language gives Portuguese.
int32_t chooseLanguage(const EnvironmentLookup& lookup);

// The folder under Imagens/ that holds the pictures of `language`, with its slash;
// "" for Portuguese.
const char* pictureFolder(int32_t language);
