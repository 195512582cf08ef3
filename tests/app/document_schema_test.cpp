// The JSON Schema of the documents (samples/pdiag.schema.json) says what
// the reader accepts: every field the reader knows is in the schema at its
// place and the reverse, a field the schema requires is one the reader
// cannot do without, and on the samples, the README's examples and their
// variants (a field missing, an unknown field, a value of the wrong type,
// a number far out of range) the schema and the reader give the same
// verdict, checked with python3-jsonschema where it is installed.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>

#include "app/document.h"

namespace {

QByteArray Contents(const QString& Name) {
  QFile f(Name);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << Name.toStdString();
  return f.readAll();
}

QJsonObject Schema() {
  return QJsonDocument::fromJson(Contents(QStringLiteral(PD_SOURCE_DIR "/samples/") + DocumentSchemaName)).object();
}

// The documents the schema and the reader must both accept: the samples
// and every JSON example of the README.
std::vector<std::pair<QString, QJsonObject>> GoodDocuments() {
  std::vector<std::pair<QString, QJsonObject>> docs;
  for (const char* sample : {"al2o3-sio2.pdiag", "bi-pb-sn.pdiag"})
    docs.emplace_back(sample, QJsonDocument::fromJson(Contents(QStringLiteral(PD_SOURCE_DIR "/samples/") + sample)).object());
  const QString readme = QString::fromUtf8(Contents(QStringLiteral(PD_SOURCE_DIR "/README.md")));
  QRegularExpressionMatchIterator blocks = QRegularExpression("```json\\n(.*?)```", QRegularExpression::DotMatchesEverythingOption).globalMatch(readme);
  int n = 0;
  while (blocks.hasNext()) {
    const QJsonDocument json = QJsonDocument::fromJson(blocks.next().captured(1).toUtf8());
    EXPECT_TRUE(json.isObject()) << "README example " << n;
    docs.emplace_back(QStringLiteral("README example %1").arg(++n), json.object());
  }
  EXPECT_GE(n, 2);
  return docs;
}

// The schema node that describes the value at Path in a document of Kind
// (null object when the schema says nothing about that place).
class TSchemaWalk {
 public:
  explicit TSchemaWalk(QJsonObject Schema) : schema_(std::move(Schema)) {}
  QJsonObject Resolve(QJsonObject Node) const {
    while (Node.contains("$ref")) {
      const QString ref = Node["$ref"].toString();  // "#/$defs/name"
      Node = schema_["$defs"].toObject()[ref.section('/', -1)].toObject();
    }
    return Node;
  }
  QJsonObject Root(const QString& Kind) const { return Resolve(schema_["$defs"].toObject()[Kind].toObject()); }
  QJsonObject Property(const QJsonObject& Node, const QString& Key) const {
    return Resolve(Node["properties"].toObject()[Key].toObject());
  }
  QJsonObject Item(const QJsonObject& Node, qsizetype Index) const {
    const QJsonArray prefix = Node["prefixItems"].toArray();
    return Resolve(Index < prefix.size() ? prefix[Index].toObject() : Node["items"].toObject());
  }

 private:
  QJsonObject schema_;
};

using TPath = QList<QVariant>;  // keys (QString) and indexes (int)

QString PathText(const TPath& Path) {
  QString s;
  for (const QVariant& p : Path)
    s += p.typeId() == QMetaType::Int ? QStringLiteral("[%1]").arg(p.toInt()) : (s.isEmpty() ? "" : ".") + p.toString();
  return s;
}

// The document with the value at Path replaced by Change's result (an
// undefined result removes it).
QJsonValue Edited(const QJsonValue& Value, const TPath& Path, qsizetype At,
                  const std::function<QJsonValue(const QJsonValue&)>& Change) {
  if (At == Path.size()) return Change(Value);
  if (Path[At].typeId() == QMetaType::Int) {
    QJsonArray a = Value.toArray();
    const int i = Path[At].toInt();
    a[i] = Edited(a[i], Path, At + 1, Change);
    return a;
  }
  QJsonObject o = Value.toObject();
  const QString key = Path[At].toString();
  const QJsonValue child = Edited(o.value(key), Path, At + 1, Change);
  if (child.isUndefined())
    o.remove(key);
  else
    o.insert(key, child);
  return o;
}

struct TVariant {
  QString What;
  QJsonObject Document;
  bool ReaderAccepts = false;
};

bool ReaderAccepts(const QJsonObject& Document, QString* Why = nullptr) {
  TDiagramDocument d;
  QString place, what;
  const bool ok = ParseDocument(QJsonDocument(Document).toJson(), d, &place, &what);
  if (Why) *Why = place + ": " + what;
  return ok;
}

// Walks a good document alongside the schema: checks that its keys are
// the schema's, that the schema's required keys are the ones the reader
// cannot do without, and makes the variants.
void Walk(const TSchemaWalk& Schema, const QJsonObject& Document, const QJsonValue& Value, const QJsonObject& Node,
          const TPath& Path, const QString& Name, std::vector<TVariant>& Variants) {
  auto variant = [&](const QString& What, const std::function<QJsonValue(const QJsonValue&)>& Change) {
    TVariant v{Name + ": " + What, Edited(Document, Path, 0, Change).toObject()};
    v.ReaderAccepts = ReaderAccepts(v.Document);
    Variants.push_back(v);
    return v.ReaderAccepts;
  };
  const QString at = PathText(Path);
  if (Value.isObject()) {
    const QJsonObject o = Value.toObject();
    EXPECT_EQ(Node["type"].toString(), "object") << qPrintable(Name + " " + at);
    EXPECT_FALSE(Node["additionalProperties"].toBool(true)) << qPrintable(Name + " " + at);
    const QJsonObject properties = Node["properties"].toObject();
    QStringList required;
    for (const QJsonValue& r : Node["required"].toArray()) required << r.toString();
    for (const QString& key : o.keys())
      EXPECT_TRUE(properties.contains(key)) << qPrintable(Name + ": " + at + "." + key + " is not in the schema");
    for (const QString& key : properties.keys()) {
      // Every field the schema names: the reader needs it exactly when the
      // schema requires it.
      QJsonObject without = o;
      without.remove(key);
      const bool accepted = variant("without " + at + "." + key, [&](const QJsonValue&) { return without; });
      EXPECT_EQ(accepted, !required.contains(key))
          << qPrintable(Name + ": " + at + "." + key + (accepted ? " is optional to the reader" : " is needed by the reader"));
    }
    for (const QString& key : required) EXPECT_TRUE(properties.contains(key)) << qPrintable(key);
    // A field the schema names that the document leaves out is one the
    // reader knows.
    for (const QString& key : properties.keys()) {
      if (o.contains(key)) continue;
      const QJsonObject p = Schema.Property(Node, key);
      const QString type = p["type"].toString();
      const QJsonValue value = type == "string" ? QJsonValue("X") : type == "boolean" ? QJsonValue(true)
                                                                                       : QJsonValue(p["minimum"].toDouble(1));
      QJsonObject with = o;
      with.insert(key, value);
      TDiagramDocument d;
      QString place, what;
      ParseDocument(QJsonDocument(Edited(Document, Path, 0, [&](const QJsonValue&) { return with; }).toObject()).toJson(),
                    d, &place, &what);
      EXPECT_NE(what, "unknown field") << qPrintable(Name + ": " + place + " is in the schema, not in the reader");
    }
    QJsonObject extra = o;
    extra.insert("unexpectedField", 1);
    EXPECT_FALSE(variant("unknown field in " + at, [&](const QJsonValue&) { return extra; }));
    for (const QString& key : o.keys())
      if (properties.contains(key))
        Walk(Schema, Document, o[key], Schema.Property(Node, key), TPath(Path) << key, Name, Variants);
    return;
  }
  if (Value.isArray()) {
    const QJsonArray a = Value.toArray();
    EXPECT_EQ(Node["type"].toString(), "array") << qPrintable(Name + " " + at);
    // The first entry stands for all; a point or a T-point in every place.
    const qsizetype places = Node.contains("prefixItems") ? a.size() : std::min<qsizetype>(a.size(), 1);
    for (qsizetype i = 0; i < places; ++i)
      Walk(Schema, Document, a[i], Schema.Item(Node, i), TPath(Path) << int(i), Name, Variants);
    variant("a text for the list " + at, [](const QJsonValue&) { return QJsonValue("list"); });
    return;
  }
  // A plain value: of the wrong type, and numbers far out of any range.
  variant("wrong type at " + at, [](const QJsonValue& v) { return v.isString() ? QJsonValue(7) : QJsonValue("7"); });
  if (Value.isDouble()) {
    variant("1e9 at " + at, [](const QJsonValue&) { return QJsonValue(1e9); });
    variant("-1e9 at " + at, [](const QJsonValue&) { return QJsonValue(-1e9); });
  }
}

}  // namespace

TEST(DocumentSchema, SchemaAndReaderAgree) {
  const QJsonObject schemaJson = Schema();
  ASSERT_EQ(schemaJson["$schema"].toString(), "https://json-schema.org/draft/2020-12/schema");
  const TSchemaWalk schema(schemaJson);
  std::vector<TVariant> variants;
  for (const auto& [name, doc] : GoodDocuments()) {
    QString why;
    ASSERT_TRUE(ReaderAccepts(doc, &why)) << qPrintable(name + ": " + why);
    variants.push_back({name, doc, true});
    Walk(schema, doc, doc, schema.Root(doc["kind"].toString()), {}, name, variants);
  }
  ASSERT_GT(variants.size(), 500u);

  // The schema's verdicts, by python3-jsonschema.
  const QString python = QStandardPaths::findExecutable("python3");
  if (python.isEmpty() || QProcess::execute(python, {"-c", "import jsonschema"}) != 0)
    GTEST_SKIP() << "python3-jsonschema is not installed: the documents were not validated against the schema";
  QTemporaryDir dir;
  QJsonArray all;
  for (const TVariant& v : variants) all.append(v.Document);
  QFile list(dir.filePath("documents.json"));
  ASSERT_TRUE(list.open(QIODevice::WriteOnly));
  list.write(QJsonDocument(all).toJson(QJsonDocument::Compact));
  list.close();
  QProcess check;
  check.start(python, {"-c",
                       "import json, sys, jsonschema\n"
                       "schema = json.load(open(sys.argv[1]))\n"
                       "jsonschema.Draft202012Validator.check_schema(schema)\n"
                       "v = jsonschema.Draft202012Validator(schema)\n"
                       "for d in json.load(open(sys.argv[2])): print(1 if v.is_valid(d) else 0)\n",
                       QStringLiteral(PD_SOURCE_DIR "/samples/") + DocumentSchemaName, list.fileName()});
  ASSERT_TRUE(check.waitForFinished(120000));
  ASSERT_EQ(check.exitCode(), 0) << check.readAllStandardError().toStdString();
  const QList<QByteArray> verdicts = check.readAllStandardOutput().trimmed().split('\n');
  ASSERT_EQ(verdicts.size(), qsizetype(variants.size()));
  int disagreements = 0;
  for (std::size_t i = 0; i < variants.size(); ++i) {
    const bool valid = verdicts[qsizetype(i)] == "1";
    if (valid != variants[i].ReaderAccepts && ++disagreements <= 20)
      ADD_FAILURE() << qPrintable(variants[i].What) << ": the schema " << (valid ? "accepts" : "refuses")
                    << " it, the reader " << (variants[i].ReaderAccepts ? "accepts" : "refuses") << " it";
  }
  EXPECT_EQ(disagreements, 0) << "of " << variants.size() << " documents";
}
