#pragma once
// TVersionInfo: the program's version resource.
//
// On this platform the resource is an INI file embedded with Qt's resource
// system (":/version.ini"), in the shape of a Windows version resource:
//
//   [StringFileInfo]            string entries, Name=Text
//   FileDescription=...
//   [FixedFileInfo]             the numeric part, four whole numbers
//   FileVersion=1,5,1,1
//   ProductVersion=1,0,0,0
//
// Lines starting with ';' or '#' are comments; blanks around names and
// texts are dropped. The file is read once, in the constructor.
#include <QHash>
#include <QString>

// A four-part version number of the fixed part.
struct TFixedVersion {
  int Major = 0;
  int Minor = 0;
  int Release = 0;
  int Build = 0;
  // "%d.%d.%d.%d"
  QString Text() const;
};

class TVersionInfo {
 public:
  static const QString ResourceFile;  // ":/version.ini"

  // Reads the program's own version resource.
  TVersionInfo();
  // Reads another file of the same shape (tests, other programs).
  explicit TVersionInfo(const QString& FileName);

  // False when the file could not be read; every text is then empty.
  bool Loaded() const { return loaded_; }

  // A string entry; empty when there is none.
  QString Entry(const QString& Name) const { return strings_.value(Name); }
  bool HasEntry(const QString& Name) const { return strings_.contains(Name); }

  QString ProductName() const { return Entry("ProductName"); }
  QString FileDescription() const { return Entry("FileDescription"); }
  QString LegalCopyright() const { return Entry("LegalCopyright"); }
  QString CompanyName() const { return Entry("CompanyName"); }
  // The string entry, or else the fixed part's number ("%d.%d.%d.%d"), or
  // else empty.
  QString ProductVersion() const;
  QString FileVersion() const;

  bool HasFixedInfo() const { return hasFixedFile_ || hasFixedProduct_; }
  TFixedVersion FixedFileVersion() const { return fixedFile_; }
  TFixedVersion FixedProductVersion() const { return fixedProduct_; }

 private:
  void Read(const QString& FileName);

  bool loaded_ = false;
  QHash<QString, QString> strings_;
  bool hasFixedFile_ = false;
  bool hasFixedProduct_ = false;
  TFixedVersion fixedFile_;
  TFixedVersion fixedProduct_;
};
