// Condition statements of template pages: $(IF,"expression").
#include <cstdint>
#include <string_view>

#include "publish/condition_evaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trevanto;
    const std::string_view expression(reinterpret_cast<const char*>(data), size);
    ConditionEvaluator evaluator;
    if (evaluator.Parse(expression))
        (void)evaluator.Evaluate();
    (void)ConditionHolds(expression);
    (void)IntegerValueOf(expression);
    return 0;
}
