#include <QApplication>
#include <gtest/gtest.h>

#include "support/sandbox.h"

// Every test program runs inside its own sandbox with a real QApplication on the
// offscreen platform, so widgets can be built, painted and driven.
int main(int argc, char** argv)
{
    fonzeta::test::Sandbox::Install();
    int result = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    fonzeta::test::Sandbox::Remove();
    return result;
}
