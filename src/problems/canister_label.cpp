#include "canister_label.h"

#include "asset_catalogue.h"
#include "drawing_kit.h"
#include "fact_sets.h"
#include "problem_generator.h"
#include "text_pool.h"

void render_label() {
    set_draw_target(label_bitmap);
    // A plain blit: the mask colour is copied too, and left out later when
    // the frame stretches the label with a masked blit.
    draw_image(canister_variant == 2 ? canister_picture_2 : canister_picture_1, -30, 0);
    set_draw_color(255, 192, 128);
    set_draw_font(font_label);

    const char* sign = operator_text(problem.problem_operation);
    if (sign != nullptr) {
        const char* text =
            join_text3(number_text(problem.operand_a), sign, number_text(problem.operand_b));
        // Nine copies one pixel apart thicken every stroke by a pixel on each
        // side; together they sit centred on (140, 99).
        for (int x = 139; x <= 141; ++x) {
            for (int y = 98; y <= 100; ++y) {
                draw_text(x, y, text, 1, 1);
            }
        }
    }
    set_draw_target(back_buffer);
}
