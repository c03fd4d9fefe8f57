#pragma once
// The game's own files of data (hiscores.dat, practice.csv), opened, locked
// and replaced safely. Anyone who can write a shared folder could plant a
// link, a FIFO or a device in a file's place: a link is followed only when
// it and every link after it, and the file it leads to, belong to the
// player; anything but a regular file is refused without waiting for it.

#include <cstddef>
#include <string>
#include <vector>

// The file a path stands for: the path itself, or the file its links lead
// to (a relative link taken from its own folder). Empty when refused.
std::string data_file_target(const std::string& path);

enum data_file_state { data_file_read, data_file_missing, data_file_unreadable };

// The last `limit` bytes of the regular file at target (links are not
// followed here: resolve them first); `cut` tells whether bytes before them
// were left out. Nothing is read from anything else.
data_file_state read_data_file(const std::string& target, std::size_t limit,
                               std::vector<unsigned char>& bytes, bool& cut);

// The regular file at target opened to append to, made when missing (its
// folders too); -1 when it cannot be, or is not a regular file.
int open_data_file_to_append(const std::string& target);

// Copies of the game take turns at a file through a lock on target + ".lock",
// which stays: removed, it would let a third copy lock a new file of that
// name while a second holds the old one. Waits at most patience_ms for a
// copy that holds it; -1 when it cannot be had. Closing the descriptor
// lets go.
int lock_data_file(const std::string& target, int patience_ms);

// Writes the bytes to a temporary file of their own beside target, makes
// them last (fsync), then renames it over target, so a crash leaves the old
// file or the new one whole. The mode of the file replaced is kept.
bool replace_data_file(const std::string& target, const std::vector<unsigned char>& bytes);
