#pragma once

#include <string>
// The five best scores and their names, and the file that keeps them:
// hiscores.dat holds five big-endian 16-bit scores, then an extension with
// the full scores and the names (docs/high-score-file.md). No drawing here,
// so the file code can be fuzzed on its own.

constexpr int high_score_count = 5;
constexpr int high_score_name_length = 7;  // the width of the default names
extern const char* const default_high_score_name;

extern int high_scores[high_score_count];  // rank 1 (best) first
extern char high_score_names[high_score_count][high_score_name_length + 1];

// Where the table is kept; empty means hiscores.dat in the working folder.
extern std::string high_score_path;
// A table shown while high_score_path is not there yet (one left in a folder
// the game cannot write); the first save starts high_score_path from it.
extern std::string high_score_seed_path;
// False once the file was there but could not be read, or was a link that
// is not the player's own with its target: saves then leave it alone rather
// than replace a table not seen.
extern bool high_score_file_writable;

// Reads the table from high_score_path (else high_score_seed_path while that
// is missing); defaults when it is missing or cannot be read. A FIFO or a
// device in its place is refused at once, as a file that cannot be read.
void load_high_scores();
// How long a save waits for the lock another copy of the game holds.
extern int high_score_lock_patience_ms;
// A finished game's new entry: under the lock beside the table (the file
// links lead to), the table is read again, so that what another copy of the
// game saved since is kept, the score put in, and the table saved. Without
// the lock nothing is saved. `saved` is false when the score should have
// been and was not. Returns the 0-based rank, or -1 when the score no longer
// qualifies.
int record_high_score(int score, const char* name, bool& saved);
// True when score is strictly greater than the rank-5 entry.
bool is_high_score(int score);
// Puts score in at its rank (below equal scores), moving lower entries down
// and dropping the lowest; returns the 0-based rank, or -1 when the score
// does not qualify. Unprintable characters are dropped and an empty name
// becomes the default name.
int insert_high_score(int score, const char* name);

constexpr int high_score_file_size = 79;
void encode_high_scores(unsigned char out[high_score_file_size]);
// Reads a file's bytes into the table: defaults when shorter than ten bytes,
// the extension's names and full scores only when it is whole and agrees;
// the table is sorted best first whatever the file held.
void decode_high_scores(const unsigned char* bytes, int size);
// Writes the table through a temporary file of its own and a rename, so a
// crash leaves the old or the new table; bytes of the file that this
// version does not understand are kept, and a symbolic link stays a link
// (followed only when it and its target are the player's own). False when
// it cannot be written; the table in memory stays as it is.
bool save_high_scores();
