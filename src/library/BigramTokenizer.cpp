#include "library/BigramTokenizer.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The byte length of the UTF-8 character led by c (1 for a stray byte).
int CharLength(unsigned char c) { return c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1; }

int Create(void*, const char**, int, Fts5Tokenizer** out) {
    static char instance;  // the tokenizer keeps no state
    *out = reinterpret_cast<Fts5Tokenizer*>(&instance);
    return SQLITE_OK;
}

void Delete(Fts5Tokenizer*) {}

int Tokenize(Fts5Tokenizer*, void* context, int, const char* text, int size,
             int (*token)(void*, int, const char*, int, int, int)) {
    int previous = -1;  // where the character before began; −1 after white space
    for (int at = 0; at < size;) {
        const int length = std::min(CharLength(static_cast<unsigned char>(text[at])), size - at);
        if (IsSpace(text[at])) {
            previous = -1;
        } else {
            if (previous >= 0) {
                char pair[8];
                const int bytes = at + length - previous;
                std::memcpy(pair, text + previous, static_cast<std::size_t>(bytes));
                for (int i = 0; i < bytes; ++i)
                    if (pair[i] >= 'A' && pair[i] <= 'Z') pair[i] = static_cast<char>(pair[i] - 'A' + 'a');
                if (const int rc = token(context, 0, pair, bytes, previous, at + length); rc != SQLITE_OK) return rc;
            }
            previous = at;
        }
        at += length;
    }
    return SQLITE_OK;
}

}  // namespace

bool RegisterBigramTokenizer(sqlite3* db) {
    fts5_api* api = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &statement, nullptr) != SQLITE_OK) return false;
    sqlite3_bind_pointer(statement, 1, &api, "fts5_api_ptr", nullptr);
    sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (!api) return false;
    static fts5_tokenizer tokenizer{Create, Delete, Tokenize};
    return api->xCreateTokenizer(api, "bigram", nullptr, &tokenizer, nullptr) == SQLITE_OK;
}

}  // namespace velmora
