#pragma once

#include "CurrentDirectory.h"
#include "EventWait.h"
#include "TempDir.h"
#include "UnitMailThread.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// A fresh temp folder as the current directory, with helpers to lay out a
// settings folder in it. Every check thread a test's windows started has
// freed itself by the end of the test.
class InTempDir : public testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(PollUntil([] { return MailThread::LiveCount() == 0; }))
            << MailThread::LiveCount() << " check threads still alive";
    }

    void MakeFolder(const std::string &relative) const
    {
        std::filesystem::create_directories(FDir.file(relative));
    }
    // A mailbox folder under velmo/ holding an options file with these bytes.
    void MakeMailbox(const std::string &folderName, const std::string &options) const
    {
        MakeFolder("velmo/" + folderName);
        FDir.write("velmo/" + folderName + "/options.velmo", options);
    }
    bool IsFolder(const std::string &relative) const
    {
        return std::filesystem::is_directory(std::filesystem::symlink_status(FDir.file(relative)));
    }
    bool IsFile(const std::string &relative) const
    {
        return std::filesystem::is_regular_file(std::filesystem::symlink_status(FDir.file(relative)));
    }

    TempDir FDir;
    CurrentDirectory FCwd{FDir.path()};
};
