// SPDX-License-Identifier: MIT
// Helpers shared by the core tests.
#pragma once

#include "model/nozzle_model.h"

#include <gtest/gtest.h>

#include <string>

namespace cdnozzle::test {

// A model after one accepted calculation of the three texts.
inline NozzleModel calculated(const std::string& me, const std::string& pepo,
                              const std::string& amax = "3")
{
    const InputTexts texts{me, amax, pepo};
    NozzleModel model(texts);
    const auto refusal = model.calculate(texts);
    EXPECT_FALSE(refusal) << *refusal;
    return model;
}

} // namespace cdnozzle::test
