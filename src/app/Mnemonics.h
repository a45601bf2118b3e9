#pragma once
// Keyboard mnemonics for menu captions: each caption of one menu gets its own Alt letter.

#include <string>
#include <vector>

// The captions of one menu (or of the menu bar), in order, with an "&" before the letter that
// opens each: the first ASCII letter or digit no earlier caption has taken, case ignored. A "&"
// already in a caption is doubled so that it shows as it is. A caption with no free letter gets
// none. Captions are UTF-8; letters outside ASCII are skipped, they are hard to type with Alt.
std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions);

// A caption as it reads: the mnemonic mark removed, "&&" back to "&".
std::string WithoutMnemonic(const std::string& caption);
