// Built without the grid's resource script: the shared grid objects cannot
// find their cursors and refuse to start.
#include "grid/GridResources.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(GridResources, MissingCursorResourceFailsStartUp) {
    try {
        grid::GridResources();
        FAIL() << "expected an exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot load cursor resource");
    }
    // A second attempt fails the same way instead of handing out half an object.
    EXPECT_THROW(grid::GridResources(), std::runtime_error);
}

} // namespace
