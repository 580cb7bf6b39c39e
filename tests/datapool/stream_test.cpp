// The streams: short reads and writes raise the platform's texts, and a file
// that cannot be opened or created names itself in the message.
#include "stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

TEST(MemoryStream, ReadsWhatWasWrittenAndStopsAtTheEnd) {
  TMemoryStream stream;
  stream.WriteBuffer("abcdef", 6);
  EXPECT_EQ(stream.Size(), 6);
  EXPECT_EQ(stream.Seek(2, soFromBeginning), 2);
  char bytes[8] = {};
  EXPECT_EQ(stream.Read(bytes, 8), 4);
  EXPECT_EQ(std::string(bytes, 4), "cdef");
  EXPECT_EQ(stream.Read(bytes, 1), 0);
  EXPECT_EQ(stream.Position(), 6);
}

TEST(MemoryStream, ReadBufferRefusesAShortRead) {
  TMemoryStream stream(std::vector<uint8_t>{1, 2, 3});
  uint8_t bytes[4];
  try {
    stream.ReadBuffer(bytes, 4);
    FAIL() << "a short read must raise";
  } catch (const EStreamError& error) {
    EXPECT_STREQ(error.what(), "Stream-Read-Fehler");
  }
}

TEST(FileStream, MissingFileNamesItselfInCodePage1252) {
  const std::string name = "/nonexistent-folder/Quorvale.qvd";
  try {
    TFileStream file(name, fmOpenRead);
    FAIL();
  } catch (const EFileStreamError& error) {
    EXPECT_EQ(std::string(error.what()), "Datei " + name + " kann nicht ge\xF6" "ffnet werden");
  }
  try {
    TFileStream file(name, fmCreate);
    FAIL();
  } catch (const EFileStreamError& error) {
    EXPECT_EQ(std::string(error.what()), "Datei " + name + " kann nicht erstellt werden");
  }
}

TEST(FileStream, WritesSeeksAndReadsBack) {
  const std::string name = testing::TempDir() + "stream_test.bin";
  {
    TFileStream file(name, fmCreate);
    file.WriteBuffer("0123456789", 10);
    file.Flush();
    EXPECT_TRUE(file.Close());
  }
  TFileStream file(name, fmOpenRead);
  EXPECT_EQ(file.Size(), 10);
  file.Seek(-3, soFromEnd);
  char tail[3];
  file.ReadBuffer(tail, 3);
  EXPECT_EQ(std::string(tail, 3), "789");
  try {
    file.WriteBuffer("x", 1);  // opened for reading only
    FAIL();
  } catch (const EStreamError& error) {
    EXPECT_STREQ(error.what(), "Stream-Write-Fehler");
  }
  std::remove(name.c_str());
}

TEST(FormatText, PutsTheArgumentInPlaceOfTheFirstMarkOnly) {
  EXPECT_EQ(FormatText("Datei %s fehlt", "a.qvd"), "Datei a.qvd fehlt");
  EXPECT_EQ(FormatText("Stream-Read-Fehler", "a.qvd"), "Stream-Read-Fehler");
  EXPECT_EQ(FormatText("(%d) %s", "x"), "(%d) x");
}
