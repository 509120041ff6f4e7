#pragma once

struct sqlite3;

namespace velmora {

// Registers the FTS5 tokenizer "bigram" on db: every two characters in a row of a text (ASCII
// letters in lower case; none across white space) are one token, so that any word of two
// characters or more, two hangul syllables included, is found through the index as the
// tokens it is made of. → false when FTS5 is missing.
bool RegisterBigramTokenizer(sqlite3* db);

}  // namespace velmora
