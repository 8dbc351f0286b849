// The same search through Qt's own Firebird driver (QIBASE): what a Qt
// program would write without a data layer of its own.
//
// usage: qt-fetch [--hold] [--limit N] HOST DATABASE PATTERN
//   default  forward-only, every value read as a QString and its length summed
//   --hold   the rows kept by the driver's cache, as a QSqlQueryModel keeps
//            them, to compare the memory that holding them takes
// Prints total milliseconds, rows, UTF-16 units and the peak resident set
// (VmHWM) on standard error.

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

long peakResidentKib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    const auto start = std::chrono::steady_clock::now();
    QCoreApplication application(argc, argv);
    bool hold = false;
    long long limit = -1;
    int a = 1;
    for (; a < argc; ++a) {
        if (std::strcmp(argv[a], "--hold") == 0)
            hold = true;
        else if (std::strcmp(argv[a], "--limit") == 0 && a + 1 < argc)
            limit = std::atoll(argv[++a]);
        else
            break;
    }
    if (argc - a != 3) {
        std::fputs("usage: qt-fetch [--hold] [--limit N] HOST DATABASE PATTERN\n", stderr);
        return 2;
    }

    long long rows = 0;
    long long units = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"));
        db.setHostName(QString::fromLocal8Bit(argv[a]));
        db.setPort(3050);
        db.setDatabaseName(QString::fromLocal8Bit(argv[a + 1]));
        db.setUserName(QStringLiteral("SYSDBA"));
        db.setPassword(QStringLiteral("plumbgate"));
        if (!db.open()) {
            std::fprintf(stderr, "qt-fetch: %s\n", qPrintable(db.lastError().text()));
            return 1;
        }
        QSqlQuery query(db);
        query.setForwardOnly(!hold);
        query.prepare(QStringLiteral(
            R"(select  t."problema", t."solucao" from "at_atendimento" t where upper (t."problema") like :id)"));
        query.bindValue(QStringLiteral(":id"), QString::fromUtf8(argv[a + 2]));
        if (!query.exec()) {
            std::fprintf(stderr, "qt-fetch: %s\n", qPrintable(query.lastError().text()));
            return 1;
        }
        while ((limit < 0 || rows < limit) && query.next()) {
            units += query.value(0).toString().size();
            units += query.value(1).toString().size();
            ++rows;
        }
        if (query.lastError().isValid()) {
            std::fprintf(stderr, "qt-fetch: %s\n", qPrintable(query.lastError().text()));
            return 1;
        }
        const long peak = peakResidentKib();
        query.finish();
        db.close();
        std::fprintf(stderr, "total ms: %.3f\nrows: %lld\nutf16 bytes: %lld\npeak rss kib: %ld\n",
                     std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
                     rows, units * 2, peak);
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    return 0;
}
