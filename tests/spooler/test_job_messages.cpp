// The print job's user messages: keys, built-in texts and localized texts.
#include <gtest/gtest.h>

#include "common/ini_text.h"
#include "job/outcome/job_messages.h"

TEST(JobMessages, KeysAndBuiltInTexts)
{
    EXPECT_STREQ(JobMessageKey(kMsgNoFiles), L"IDL_MESSAGE_NOFILES");
    EXPECT_STREQ(JobMessageKey(kMsgInvalidFile), L"IDL_MESSAGE_INVAILDFILE");
    EXPECT_STREQ(JobMessageKey(kMsgInvalidPrintRange), L"IDL_MESSAGE_INVALIDPRNRANGE");
    EXPECT_STREQ(JobMessageKey(kMsgPrintFailed), L"IDL_MESSAGE_PRINTFAILED");
    EXPECT_STREQ(JobMessageKey(kMsgRefusedContent), L"IDL_MESSAGE_REFUSEDCONTENT");
    EXPECT_STREQ(JobMessageDefaultText(kMsgInvalidFile), L"The system cannot open the file or access is denied.");
    EXPECT_STREQ(JobMessageDefaultText(kMsgPrintFailed), L"The document could not be sent to the printer.");
    EXPECT_EQ(JobMessageKey(4), nullptr);  // a file-list message, not the print job's
    EXPECT_EQ(JobMessageText(99), L"");
}

TEST(JobMessages, LocalizedTextsAndCaption)
{
    CIniText ini(L"[ERROR_MSG]\nIDL_MESSAGE_PRINTFAILED=Nicht gedruckt.\nIDL_MESSAGE_NOFILES=\n"
                 L"[UI_SHEET]\nIDL_TITLE=Lumeo DE\n");
    SetUITextSource(&ini);
    EXPECT_EQ(JobMessageText(kMsgPrintFailed), L"Nicht gedruckt.");
    EXPECT_EQ(JobMessageText(kMsgNoFiles), L"");  // present but empty stays empty
    EXPECT_EQ(JobMessageText(kMsgInvalidFile), L"The system cannot open the file or access is denied.");
    EXPECT_EQ(JobMessageCaption(), L"Lumeo DE");
    SetUITextSource(nullptr);
    EXPECT_EQ(JobMessageCaption(), L"Lumeo");
}
