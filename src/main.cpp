#include <allegro.h>

#include "command_line.h"
#include "startup.h"

int main(int argc, char** argv) {
    const command_line options = parse_command_line(argc, argv);
    if (options.action == command_action::report) {
        return print_report(options);
    }
    if (options.action != command_action::play) {
        return answer_command_line(options);
    }
    start_in_window = options.windowed;
    return run_refuel(options);
}
END_OF_MAIN()
