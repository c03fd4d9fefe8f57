#include <allegro.h>

#include "startup.h"

int main() {
    return run_refuel();
}
END_OF_MAIN()
