#include "game_paths.h"

#include <cstdlib>
#include <iterator>
#include <vector>

#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

std::string data_folder;

namespace {

const char* const datafile_names[] = {"graph1.dat", "fonts.dat", "sounds.dat"};

bool absolute(const std::string& path) {
    return !path.empty() && path[0] == '/';
}

// "/usr/games/" gives "/usr/share/games/refuel/".
std::string installed_data_folder(const std::string& binary_folder) {
    const std::string folder = binary_folder.substr(0, binary_folder.size() - 1);
    return folder.substr(0, folder.rfind('/') + 1) + "share/games/refuel/";
}

std::string per_player_score_file(const path_facts& facts) {
    if (absolute(facts.xdg_data_home)) {
        return facts.xdg_data_home + "/refuel/hiscores.dat";
    }
    if (absolute(facts.home)) {
        return facts.home + "/.local/share/refuel/hiscores.dat";
    }
    return "hiscores.dat";  // nowhere else to keep it: the working folder
}

}  // namespace

game_paths find_game_paths(const path_facts& facts) {
    const std::string per_player = per_player_score_file(facts);
    std::vector<std::string> own_folders = {""};
    std::string installed;
    if (!facts.binary_folder.empty()) {
        own_folders.push_back(facts.binary_folder);
        installed = installed_data_folder(facts.binary_folder);
    }
    // A folder of the game's own that holds any of the datafiles is the one:
    // a missing file is then reported rather than taken from another folder,
    // maybe of another version. The working folder may be any folder a
    // launcher starts in, so there a stray file of the same name must not
    // stop the installed game: it counts only with all three.
    for (const std::string& folder : own_folders) {
        const int here = facts.probe(folder);
        if ((here & (folder.empty() ? holds_all_datafiles : holds_datafiles)) != 0) {
            if ((here & writable_folder) != 0) {
                return {folder, folder + "hiscores.dat", ""};
            }
            // Saves there would fail: the player's own file takes them.
            return {folder, per_player, (here & holds_scores) != 0 ? folder + "hiscores.dat" : ""};
        }
    }
    if (!installed.empty() && (facts.probe(installed) & holds_datafiles) != 0) {
        return {installed, per_player, ""};
    }
    return {"", per_player, ""};
}

path_facts machine_path_facts() {
    path_facts facts;
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        const std::string binary(exe, static_cast<std::size_t>(n));
        facts.binary_folder = binary.substr(0, binary.rfind('/') + 1);
    }
    const char* home = std::getenv("HOME");
    facts.home = home != nullptr ? home : "";
    if (!absolute(facts.home)) {
        const passwd* entry = getpwuid(getuid());
        facts.home = entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
    }
    const char* xdg = std::getenv("XDG_DATA_HOME");
    facts.xdg_data_home = xdg != nullptr ? xdg : "";
    facts.probe = [](const std::string& folder) {
        std::size_t found = 0;
        for (const char* name : datafile_names) {
            found += access((folder + name).c_str(), F_OK) == 0 ? 1 : 0;
        }
        int bits = found > 0 ? holds_datafiles : 0;
        if (found == std::size(datafile_names)) {
            bits |= holds_all_datafiles;
        }
        if (access(folder.empty() ? "." : folder.c_str(), W_OK) == 0) {
            bits |= writable_folder;
        }
        if (access((folder + "hiscores.dat").c_str(), F_OK) == 0) {
            bits |= holds_scores;
        }
        return bits;
    };
    return facts;
}

std::string datafile_path(const char* name) {
    return data_folder + name;
}

void make_folders_for(const std::string& file) {
    for (std::size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1)) {
        // Folders already there (EEXIST) are passed; anything else shows up
        // when the file itself cannot be made.
        (void)mkdir(file.substr(0, slash).c_str(), 0700);
    }
}
