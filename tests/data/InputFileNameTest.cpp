// Names that would make a run overwrite its own input file.
#include <gtest/gtest.h>

#include <string>

#include "data/InputFileName.h"

using namespace brekka;

TEST(InputFileName, ResultExtensionsInAnyCaseAreResultFiles) {
    for (const char* name : {"data.out", "data.var", "DATA.OUT", "Data.Var", "/tmp/a.b.out",
                             "dir/yield.vAr", "C:\\runs\\wheat.OUT"}) {
        EXPECT_TRUE(IsResultFileName(name)) << name;
    }
}

TEST(InputFileName, OtherNamesAreInputFiles) {
    for (const char* name : {"data.inp", "data", "data.outx", "data.ou", "data.out.inp",
                             "results.out/data.inp", "var", "data.txt"}) {
        EXPECT_FALSE(IsResultFileName(name)) << name;
    }
}

TEST(InputFileName, MessageNamesTheFile) {
    const std::string message = ResultFileAsInputMessage("/work/data.out");
    EXPECT_NE(message.find("\"/work/data.out\""), std::string::npos) << message;
}
