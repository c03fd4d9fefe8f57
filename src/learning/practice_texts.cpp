#include "practice_texts.h"

#include <cstdio>

#include "fact_sets.h"

const char* const practice_topic_names[5] = {"addition", "subtraction", "multiplication",
                                             "division", "mixed"};

const char* operation_sign(int operation) {
    const char* sign = operator_text(operation);
    return sign != nullptr ? sign : "?";
}

const char* topic_name(int topic) {
    return topic >= 1 && topic <= 5 ? practice_topic_names[topic - 1] : "mixed";
}

void problem_text(char* out, std::size_t size, int operand_a, int operation, int operand_b) {
    (void)std::snprintf(out, size, "%d%s%d", operand_a, operation_sign(operation), operand_b);
}

void fact_text(char* out, std::size_t size, const arithmetic_fact& fact) {
    char problem[32];
    problem_text(problem, sizeof problem, fact.operand_a, fact.operation, fact.operand_b);
    (void)std::snprintf(out, size, "%s = %d", problem,
                        fact_answer(fact.operation, fact.operand_a, fact.operand_b));
}

void seconds_text(char* out, std::size_t size, int ticks) {
    ticks = ticks < 0 ? 0 : ticks;
    (void)std::snprintf(out, size, "%d.%02d", ticks / 100, ticks % 100);
}

void time_text(char* out, std::size_t size, int ticks) {
    if (ticks < 0) {
        (void)std::snprintf(out, size, "-");
    } else {
        (void)std::snprintf(out, size, "%d.%d s", ticks / 100, ticks % 100 / 10);
    }
}
