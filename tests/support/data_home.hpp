// A data folder of its own for every test that keeps files in the student's
// account, named through the environment as a session names it, and removed with
// all it holds when the test ends.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <filesystem>

class DataHome : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/jogo-data-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        setenv("XDG_DATA_HOME", pattern, 1);
    }
    void TearDown() override { std::filesystem::remove_all(scratch); }
    std::filesystem::path scratch;  // XDG_DATA_HOME: the game's folder is scratch / "jogo"
};
