#include <gtest/gtest.h>

#include "IniFile.h"
#include "SplitTestFiles.h"

TEST(IniFile, ReadsSectionsKeysAndDefaultsWithAnyLineEnd) {
  for (const std::string eol : {"\r\n", "\n", "\r"}) {
    IniFile ini;
    ini.parse("; comment" + eol + "[Paths]" + eol + " Scasm = C:\\s\\Scasm.exe " + eol + "[recent]" + eol +
              "ObjectName=Area 51" + eol + "flag=1" + eol + "off=0" + eol + "bad=x");
    EXPECT_EQ(ini.readString("paths", "SCASM"), "C:\\s\\Scasm.exe");
    EXPECT_EQ(ini.readString("Recent", "ObjectName"), "Area 51");
    EXPECT_EQ(ini.readString("Recent", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("Nowhere", "Scasm"), "");
    EXPECT_TRUE(ini.readBool("Recent", "flag", false));
    EXPECT_FALSE(ini.readBool("Recent", "off", true));
    EXPECT_TRUE(ini.readBool("Recent", "bad", true));
    EXPECT_EQ(ini.readInt("Recent", "bad", 7), 7);
    // A key of another section is not seen.
    EXPECT_EQ(ini.readString("Paths", "ObjectName"), "");
  }
}

TEST(IniFile, RewriteKeepsUnknownLinesAndWritesCrLf) {
  IniFile ini;
  ini.parse("; keep me\n[Recent]\nOrvane=a.sca\nstray text\n\n[Other]\nx=1\n");
  ini.writeString("Recent", "Orvane", "b.sca");
  ini.writeString("Recent", "Saved", "c.sca");
  ini.writeBool("ID_Settings", "ID1_Quoted", true);
  EXPECT_EQ(ini.text(),
            "; keep me\r\n[Recent]\r\nOrvane=b.sca\r\nstray text\r\nSaved=c.sca\r\n\r\n[Other]\r\nx=1\r\n"
            "\r\n[ID_Settings]\r\nID1_Quoted=1\r\n");
}

TEST(IniFile, ValueWithLineBreakCannotBreakTheFile) {
  IniFile ini;
  ini.writeString("Runway", "ReferenceName", "a\r\n[Evil]\nx=1");
  EXPECT_EQ(ini.readString("Runway", "ReferenceName"), "a  [Evil] x=1");
  EXPECT_FALSE(ini.hasKey("Evil", "x"));
}

TEST(IniFile, FileBackedObjectIsCreatedByFirstWriteAndSavesEveryWrite) {
  SplitTestDir dir;
  const std::string path = dir / "OVSPLIT.cfg";
  IniFile ini(path);
  EXPECT_FALSE(std::filesystem::exists(path));
  ASSERT_TRUE(ini.writeString("Paths", "Scasm", "/x/SCASM.EXE"));
  IniFile again(path);
  EXPECT_EQ(again.readString("Paths", "Scasm"), "/x/SCASM.EXE");
  EXPECT_EQ(readBytes(path), "[Paths]\r\nScasm=/x/SCASM.EXE\r\n");
}

TEST(IniFile, FailedSaveKeepsThePreviousFile) {
  SplitTestDir dir;
  IniFile ini(dir / "missing-folder/OVSPLIT.cfg");
  EXPECT_FALSE(ini.writeString("Paths", "Scasm", "x"));
  EXPECT_EQ(ini.readString("Paths", "Scasm"), "x");  // kept in memory
}
