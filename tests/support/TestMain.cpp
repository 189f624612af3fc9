// The test programs' entry: register the default host's resources as a host would, then run.
#include <gtest/gtest.h>

#include "host/DefaultHost.h"

int main(int argc, char** argv) {
    RegisterDefaultHostResources();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
