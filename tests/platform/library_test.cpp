#include <gtest/gtest.h>

#include "platform/TDynamicLibrary.h"

TEST(DynamicLibrary, FindsLibraryInGivenDirectoryAndEntryPointsByName) {
    TDynamicLibrary lib;
    ASSERT_TRUE(lib.Load("libaltavo_test_plugin.so", {"/nonexistent", TEST_PLUGIN_DIR}));
    auto answer = lib.Bind<int (*)()>("plugin_answer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(lib.Symbol("no_such_entry"), nullptr);
}

TEST(DynamicLibrary, MissingLibraryFailsWithReason) {
    TDynamicLibrary lib;
    EXPECT_FALSE(lib.Load("libaltavo_no_such_library.so", {TEST_PLUGIN_DIR}));
    EXPECT_FALSE(lib.IsLoaded());
    EXPECT_FALSE(lib.ErrorString().isEmpty());
    EXPECT_EQ(lib.Symbol("plugin_answer"), nullptr);
}
