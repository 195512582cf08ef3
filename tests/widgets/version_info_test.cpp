// The version resource reader with its fallbacks, on files of its shape.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QFile>

#include "widgets/version_info.h"

namespace {

class VersionInfoFile : public ::testing::Test {
 protected:
  QString Write(const QByteArray& Text) {
    const QString name = dir_.filePath(QString("v%1.ini").arg(++count_));
    QFile f(name);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Text);
    return name;
  }
  QTemporaryDir dir_;
  int count_ = 0;
};

TEST_F(VersionInfoFile, ReadsStringEntriesAndTheFixedPart) {
  const TVersionInfo v(Write("; comment\n"
                             "[StringFileInfo]\n"
                             "ProductName = Phase Diagrams \n"
                             "ProductVersion=1.0\n"
                             "FileDescription=Viewer of phase diagrams\n"
                             "FileVersion=1.5.1.1\n"
                             "LegalCopyright=(C) 2024, the makers = us\n"
                             "CompanyName=Makers \xc3\xa4\n"
                             "[FixedFileInfo]\n"
                             "FileVersion=1,5,1,1\n"
                             "ProductVersion=1, 0, 0, 0\n"));
  EXPECT_TRUE(v.Loaded());
  EXPECT_EQ(v.ProductName(), "Phase Diagrams");
  EXPECT_EQ(v.ProductVersion(), "1.0");
  EXPECT_EQ(v.FileDescription(), "Viewer of phase diagrams");
  EXPECT_EQ(v.FileVersion(), "1.5.1.1");
  // Commas and '=' inside a text are part of it.
  EXPECT_EQ(v.LegalCopyright(), "(C) 2024, the makers = us");
  EXPECT_EQ(v.CompanyName(), QString::fromUtf8("Makers \xc3\xa4"));
  EXPECT_TRUE(v.HasFixedInfo());
  EXPECT_EQ(v.FixedFileVersion().Text(), "1.5.1.1");
  EXPECT_EQ(v.FixedProductVersion().Major, 1);
  EXPECT_EQ(v.FixedProductVersion().Text(), "1.0.0.0");
}

TEST_F(VersionInfoFile, MissingVersionStringsFallBackToTheFixedPart) {
  const TVersionInfo v(Write("[StringFileInfo]\nFileDescription=X\n"
                             "[FixedFileInfo]\nFileVersion=2,10,0,7\nProductVersion=3,1,4,1\n"));
  EXPECT_EQ(v.FileVersion(), "2.10.0.7");
  EXPECT_EQ(v.ProductVersion(), "3.1.4.1");
  EXPECT_FALSE(v.HasEntry("FileVersion"));
}

TEST_F(VersionInfoFile, MissingEntriesGiveEmptyTexts) {
  // A string of another section does not count as a string entry, and a
  // malformed fixed number is no fixed number.
  const TVersionInfo v(Write("[Other]\nProductName=No\n[FixedFileInfo]\nFileVersion=1,5,1\n"
                             "ProductVersion=a,b,c,d\n"));
  EXPECT_TRUE(v.Loaded());
  EXPECT_EQ(v.ProductName(), "");
  EXPECT_EQ(v.LegalCopyright(), "");
  EXPECT_EQ(v.Entry("Anything"), "");
  EXPECT_FALSE(v.HasFixedInfo());
  EXPECT_EQ(v.FileVersion(), "");
  EXPECT_EQ(v.ProductVersion(), "");
}

TEST(VersionInfo, MissingFileLeavesEverythingEmpty) {
  const TVersionInfo v("/nonexistent/version.ini");
  EXPECT_FALSE(v.Loaded());
  EXPECT_EQ(v.FileDescription(), "");
  EXPECT_EQ(v.FileVersion(), "");
  EXPECT_EQ(v.ProductVersion(), "");
}

}  // namespace
