#include "export/CompoundFile.h"
#include "export/ExportErrors.h"
#include "tests/support/Readers.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

QByteArray pattern(qint64 size)
{
    QByteArray b(size, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (qint64 i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b[i] = char(x);
    }
    return b;
}

// Short streams go to the mini stream, long ones to regular sectors; past 109 FAT sectors
// (about 7 MB) the FAT is listed in DIFAT sectors.
class CompoundFile_Readers : public ::testing::TestWithParam<qint64> {};

TEST_P(CompoundFile_Readers, OlefileReadsTheOneStreamBack)
{
    TempDir dir;
    const QString path = dir.file("c.cfb");
    const QByteArray content = pattern(GetParam());
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        TCompoundFileWriter w([&f](const char *d, qint64 n) { ASSERT_EQ(f.write(d, n), n); },
                              QStringLiteral("Workbook"));
        w.begin(quint64(content.size()));
        // in uneven pieces, as a caller streams them
        for (qint64 at = 0; at < content.size(); at += 1000)
            w.write(content.constData() + at, std::min<qint64>(1000, content.size() - at));
        w.finish();
    }
    EXPECT_EQ(QFileInfo(path).size() % 512, 0);
    const OleView ole = readWithOlefile(path);
    ASSERT_EQ(ole.error, "");
    EXPECT_EQ(ole.streams, QStringList{"Workbook"});
    ASSERT_EQ(ole.sizes.size(), 1);
    EXPECT_EQ(ole.sizes[0], content.size());
    EXPECT_TRUE(ole.firstStream == content);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CompoundFile_Readers,
                         ::testing::Values(0, 1, 64, 65, 4095, 4096, 4097, 512 * 1000 + 3, 8000000),
                         [](const auto &p) { return "Bytes" + std::to_string(p.param); });

struct RefusalCase {
    const char *name;
    EQExportError::Kind kind;
    const char *message;
    std::function<void(TCompoundFileWriter &)> misuse; // after begin(10)
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

class CompoundFileRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(CompoundFileRefusal, RaisesTheExportError)
{
    QByteArray out;
    TCompoundFileWriter w([&out](const char *d, qint64 n) { out.append(d, n); }, "Workbook");
    w.begin(10);
    try {
        GetParam().misuse(w);
        FAIL() << "no error raised";
    } catch (const EQExportError &e) {
        EXPECT_EQ(e.kind(), GetParam().kind);
        EXPECT_EQ(e.message(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompoundFileRefusal,
    ::testing::Values(RefusalCase{"Longer", EQExportError::CompoundTooLong,
                                  "compound file stream longer than announced",
                                  [](TCompoundFileWriter &w) { w.write("01234567890", 11); }},
                      RefusalCase{"Shorter", EQExportError::CompoundTooShort,
                                  "compound file stream shorter than announced",
                                  [](TCompoundFileWriter &w) {
                                      w.write("0123", 4);
                                      w.finish();
                                  }},
                      RefusalCase{"TooLarge", EQExportError::CompoundTooLarge,
                                  "compound file stream too large",
                                  [](TCompoundFileWriter &w) {
                                      w.begin(TCompoundFileWriter::MaxStreamSize + 1);
                                  }}),
    [](const auto &p) { return std::string(p.param.name); });

} // namespace
