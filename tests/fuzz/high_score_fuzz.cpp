// Any bytes as hiscores.dat: the table must come out sane every time, and
// survive a write and a read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "high_score_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decode_high_scores(data, static_cast<int>(size > 100000 ? 100000 : size));
    for (int rank = 0; rank < high_score_count; ++rank) {
        const char* name = high_score_names[rank];
        const std::size_t length = strnlen(name, high_score_name_length + 1);
        bool sane = high_scores[rank] >= 0 && length > 0 && length <= high_score_name_length &&
                    (rank == 0 || high_scores[rank] <= high_scores[rank - 1]);
        for (std::size_t i = 0; i < length; ++i) {
            sane = sane && name[i] >= 32 && name[i] <= 126;
        }
        if (!sane) {
            std::abort();
        }
    }
    int scores[high_score_count];
    char names[high_score_count][high_score_name_length + 1];
    std::memcpy(scores, high_scores, sizeof scores);
    std::memcpy(names, high_score_names, sizeof names);
    unsigned char file[high_score_file_size];
    encode_high_scores(file);
    decode_high_scores(file, high_score_file_size);
    if (std::memcmp(scores, high_scores, sizeof scores) != 0 ||
        std::memcmp(names, high_score_names, sizeof names) != 0) {
        std::abort();
    }
    return 0;
}
