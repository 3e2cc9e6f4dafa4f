// The main of every test program. The game reads its data beside the folder it runs in, and so
// do the tests that load the game's own tables; they run in the baked data's folder wherever the
// program was started from, as CTest starts them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (::chdir(BRISK_DATA_ROOT) != 0) {
        std::perror("cannot enter the data folder " BRISK_DATA_ROOT);
        return 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
