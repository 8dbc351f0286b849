// Bad input from every side, against the real server: Login.ini, the
// program's folder, the typed text and the stored values. Each case has one
// clear outcome; none may crash or leave anything held on the server.

#include "fault_support.h"

#include "core/solution_record.h"
#include "core/utf.h"
#include "data/connection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <unistd.h>

using faults::fetchToTheEnd;
using faults::search;
using faults::serverHeld;
using testing_support::attendanceTable;
using testing_support::ServerDatabase;

namespace {

constexpr const char* Prefix = "[FireDAC][Phys][FB]";

std::u16string repeat(std::u16string_view piece, std::size_t times)
{
    std::u16string out;
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

std::string repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

const std::u16string Emoji = u"\U0001F600";         // four bytes in UTF-8, two UTF-16 units
const std::string EmojiUtf8 = "\xF0\x9F\x98\x80";

// Junk without a section header or a key in it: a profile reads nothing from it.
std::string junk(std::size_t size)
{
    std::string bytes;
    for (std::size_t i = 0; bytes.size() < size; ++i) {
        const char c = static_cast<char>((i * 37 + 11) & 0xFF);
        if (c != '[' && c != '=' && c != '\n' && c != '\r')
            bytes.push_back(c);
    }
    return bytes;
}

void writeLoginIni(const ServerDatabase& db, const std::string& bytes)
{
    std::ofstream(db.folder() + "/Login.ini", std::ios::binary | std::ios::trunc) << bytes;
}

// ---- Login.ini ------------------------------------------------------------

enum class Outcome { Works, ClientError, ThisMachine };

struct LoginCase {
    const char* name;
    std::string bytes;
    std::string server;      // as read
    Outcome outcome;
    std::string errorStart;  // for ClientError: how the message begins
};

class LoginIni : public ::testing::TestWithParam<LoginCase> {
protected:
    static void SetUpTestSuite() { db_ = new ServerDatabase("login ini", attendanceTable(3, 2)); }
    static void TearDownTestSuite() { delete db_; }
    static ServerDatabase* db_;
};
ServerDatabase* LoginIni::db_ = nullptr;

TEST_P(LoginIni, CreationNeverFailsAndTheFirstSearchShowsOneClearOutcome)
{
    const LoginCase& c = GetParam();
    writeLoginIni(*db_, c.bytes);
    auto service = db_->service(); // reads Login.ini; touches nothing else
    const quelvo::ConnectionSettings& settings = service->FDConnection1.settings;
    EXPECT_EQ(settings.server, c.server);
    EXPECT_EQ(quelvo::attachName(settings), c.server + "/3050:" + db_->databasePath());
    EXPECT_FALSE(service->FDConnection1.isOpen());

    const std::string error = search(*service, u"erro");
    switch (c.outcome) {
    case Outcome::Works:
        EXPECT_EQ(error, "");
        EXPECT_EQ(service->FDQuery1.rowCount(), 3u);
        break;
    case Outcome::ClientError:
        EXPECT_EQ(error.rfind(std::string(Prefix) + c.errorStart, 0), 0u) << error;
        EXPECT_FALSE(service->FDConnection1.isOpen());
        break;
    case Outcome::ThisMachine:
        // No server named: the client goes to this machine's own host name,
        // which may or may not reach the server on 127.0.0.1.
        EXPECT_TRUE(error.empty() || error.rfind(Prefix, 0) == 0) << error;
        std::printf("without a server name here: %s\n", error.empty() ? "the search works" : error.c_str());
        break;
    }
    service->shutdown();
    EXPECT_EQ(serverHeld(*db_).attachments, 0);
}

const std::string Host = "127.0.0.1";
const std::string Unreachable = "Unable to complete network request to host \"";

INSTANTIATE_TEST_SUITE_P(Profiles, LoginIni, ::testing::Values(
    LoginCase{"crlf", "[Connection]\r\nServidor=127.0.0.1\r\nPorta=3050\r\n", Host, Outcome::Works, ""},
    LoginCase{"lf", "[Connection]\nServidor=127.0.0.1\n", Host, Outcome::Works, ""},
    LoginCase{"no_final_line_break", "[Connection]\nServidor=127.0.0.1", Host, Outcome::Works, ""},
    LoginCase{"utf8_bom", "\xEF\xBB\xBF[Connection]\r\nServidor=127.0.0.1\r\n", Host, Outcome::Works, ""},
    LoginCase{"utf16_bom", std::string("\xFF\xFE[\0C\0o\0n\0n\0e\0c\0t\0i\0o\0n\0]\0\n\0S\0e\0r\0v\0i\0d\0o\0r\0=\0"
                                       "1\0002\0007\0.\0000\0.\0000\0.\0001\0\n\0", 64),
              Host, Outcome::Works, ""},
    LoginCase{"blanks_around", "[ Connection ]\r\n   Servidor  =   127.0.0.1   \r\n", Host, Outcome::Works, ""},
    LoginCase{"quoted", "[Connection]\r\nServidor=\"127.0.0.1\"\r\n", Host, Outcome::Works, ""},
    LoginCase{"blanks_inside_quotes", "[Connection]\r\nServidor=\" 127.0.0.1 \"\r\n", " 127.0.0.1 ",
              Outcome::ClientError, Unreachable + "127.0.0.1 \"."},
    LoginCase{"unclosed_section", "[Connection\r\nServidor=127.0.0.1\r\n", Host, Outcome::Works, ""},
    LoginCase{"junk_then_section", junk(4096) + "\n[Connection]\nServidor=127.0.0.1\n", Host, Outcome::Works, ""},
    LoginCase{"megabyte_line_first", std::string(1 << 20, 'x') + "\r\n[Connection]\r\nServidor=127.0.0.1\r\n", Host,
              Outcome::Works, ""},
    LoginCase{"server_with_port", "[Connection]\r\nServidor=127.0.0.1/3050\r\n", "127.0.0.1/3050",
              Outcome::ClientError, Unreachable + "127.0.0.1\"."},
    LoginCase{"server_with_other_port", "[Connection]\r\nServidor=127.0.0.1/3051\r\nPorta=3051\r\n", "127.0.0.1/3051",
              Outcome::ClientError, Unreachable + "127.0.0.1\"."},
    LoginCase{"server_with_path", "[Connection]\r\nServidor=127.0.0.1:/tmp/other.fdb\r\n", "127.0.0.1:/tmp/other.fdb",
              Outcome::ClientError, "unavailable database"},
    LoginCase{"megabyte_server_name", "[Connection]\r\nServidor=" + std::string(1 << 20, 'a') + "\r\n",
              std::string(2047, 'a'), Outcome::ClientError, Unreachable + std::string(200, 'a')},
    LoginCase{"binary_junk", junk(65536), "", Outcome::ThisMachine, ""},
    LoginCase{"empty_file", "", "", Outcome::ThisMachine, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The program's folder -------------------------------------------------

TEST(ProgramFolder, BlanksAndNonAsciiLettersInTheFolderNameReachTheDatabase)
{
    ServerDatabase db("Help Desk Serviços ação", attendanceTable(4, 1));
    auto service = db.service();
    EXPECT_NE(service->FDConnection1.settings.database.find("Help Desk Serviços ação"), std::string::npos);
    EXPECT_EQ(search(*service, u"erro"), "");
    EXPECT_EQ(service->FDQuery1.rowCount(), 4u);
    service->shutdown();
}

// Long and odd folders. The search shows the rows of the database at the
// path the program composed, or it fails; it never shows another database's
// rows. A decoy database lies where a wrapped name length would lead.

constexpr int DecoyRows = 9;

struct OddFolderFixture {
    std::string top;    // a scratch folder of this suite, removed at the end
    std::unique_ptr<ServerDatabase> decoy;
    std::vector<std::unique_ptr<ServerDatabase>> own;

    // A database of `rows` matches in the program folder `folder` (created).
    void ownDatabase(const std::string& folder, int rows)
    {
        own.push_back(std::make_unique<ServerDatabase>("odd", attendanceTable(rows, 1), folder));
    }
};

enum class FolderOutcome { Works, ProgramRefuses, ServerRefuses };

struct OddFolderCase {
    const char* name;
    // Makes the folder (and its database, if any) and returns it as handed to the program.
    std::function<std::string(OddFolderFixture&)> folder;
    FolderOutcome outcome;
    int rows = 0;                // Works: the matches of its own database
    std::string serverText = {}; // ServerRefuses: a line of the server's text
};

void PrintTo(const OddFolderCase& c, std::ostream* out) { *out << c.name; }

// The attach name of a program folder, as the program composes it.
std::string attachNameOf(const std::string& folder)
{
    return "127.0.0.1/3050:" + folder + "/data/BRIVANAATENDIMENTOS.FDB";
}

// A folder below `base` whose attach name is `bytes` long (not created).
std::string folderOfAttachName(const std::string& base, std::size_t bytes)
{
    const std::size_t fixed = attachNameOf(base).size();
    std::string folder = base;
    // Segments of 200 bytes, so that the shorter ones could exist.
    for (std::size_t left = bytes - fixed; left > 0;) {
        const std::size_t n = std::min<std::size_t>(left, 200);
        folder += "/" + std::string(n - 1, 'p');
        left -= n;
    }
    folder.back() = 'q';
    return folder;
}

// Whether the real client attaches a database when handed `name` with a
// length that wrapped, as it did before the program checked it. The only
// database the wrapped name can reach is the decoy.
bool attachesThroughWrappedLength(const std::string& name)
{
    const std::string dpb("\x01\x1C\x06SYSDBA\x1D\x09plumbgate\x30\x04UTF8\x3F\x01\x03\x4D\x00", 31);
    ISC_STATUS_ARRAY status = {};
    isc_db_handle db = 0;
    isc_attach_database(status, static_cast<short>(name.size()), name.c_str(), &db, static_cast<short>(dpb.size()),
                        dpb.data());
    if (status[1])
        return false;
    isc_detach_database(status, &db);
    return true;
}

class OddFolders : public ::testing::TestWithParam<OddFolderCase> {
protected:
    static void SetUpTestSuite()
    {
        fixture_ = new OddFolderFixture;
        fixture_->top = testing_support::dataRoot() + "/odd-folders-" + std::to_string(std::random_device{}());
        std::filesystem::create_directories(fixture_->top);
        fixture_->decoy = std::make_unique<ServerDatabase>("decoy", attendanceTable(DecoyRows, 1),
                                                           fixture_->top + "/decoy");
    }
    static void TearDownTestSuite()
    {
        fixture_->own.clear();
        fixture_->decoy.reset();
        std::error_code ignored;
        std::filesystem::remove_all(fixture_->top, ignored);
        delete fixture_;
    }
    static OddFolderFixture* fixture_;
};
OddFolderFixture* OddFolders::fixture_ = nullptr;

TEST_P(OddFolders, TheSearchShowsItsOwnDatabaseOrFailsButNeverAnother)
{
    const OddFolderCase& c = GetParam();
    const std::filesystem::path workingFolder = std::filesystem::current_path();
    const std::string folder = c.folder(*fixture_);
    auto service = std::make_unique<TServiceConnection>(folder);
    std::filesystem::current_path(workingFolder);
    service->DataModuleCreate();
    // As a Login.ini there would say; most of these folders cannot hold one.
    service->FDConnection1.settings.server = "127.0.0.1";
    const std::string error = search(*service, u"erro ao salvar");
    std::printf("%s: %s\n", c.name, error.empty() ? ("works, " + std::to_string(service->FDQuery1.rowCount()) + " rows").c_str()
                                                  : error.substr(0, 160).c_str());
    EXPECT_NE(service->FDQuery1.rowCount(), static_cast<std::size_t>(DecoyRows));
    switch (c.outcome) {
    case FolderOutcome::Works:
        EXPECT_EQ(error, "");
        EXPECT_EQ(service->FDQuery1.rowCount(), static_cast<std::size_t>(c.rows));
        break;
    case FolderOutcome::ProgramRefuses:
        EXPECT_EQ(error, std::string(Prefix) + "-345. Data too large for variable [Database]. Max len = [32767], "
                         "actual len = [" + std::to_string(quelvo::attachName(service->FDConnection1.settings).size()) +
                         "] Hint: install the program in a folder with a shorter path");
        break;
    case FolderOutcome::ServerRefuses:
        EXPECT_EQ(error.rfind(Prefix, 0), 0u) << error;
        EXPECT_NE(error.find(c.serverText), std::string::npos) << error;
        break;
    }
    EXPECT_FALSE(service->FDQuery1.isOpen() && c.outcome != FolderOutcome::Works);
    service->shutdown();
    EXPECT_EQ(serverHeld(*fixture_->decoy).attachments, 0);
}

INSTANTIATE_TEST_SUITE_P(Folders, OddFolders, ::testing::Values(
    OddFolderCase{"long_3000_bytes",
                  [](OddFolderFixture& f) {
                      const std::string folder = folderOfAttachName(f.top + "/long", 3000);
                      f.ownDatabase(folder, 3);
                      return folder;
                  },
                  FolderOutcome::Works, 3},
    OddFolderCase{"dot_dot",
                  [](OddFolderFixture& f) {
                      f.ownDatabase(f.top + "/real", 4);
                      std::filesystem::create_directories(f.top + "/x");
                      return f.top + "/x/../real";
                  },
                  FolderOutcome::Works, 4},
    OddFolderCase{"relative_to_the_working_folder",
                  [](OddFolderFixture& f) {
                      f.ownDatabase(f.top + "/rel/dir", 5);
                      // The server would take a relative path from its own working folder.
                      EXPECT_EQ(chdir(f.top.c_str()), 0);
                      return std::string("rel/dir");
                  },
                  FolderOutcome::Works, 5},
    OddFolderCase{"beyond_the_longest_path_of_the_system",
                  [](OddFolderFixture& f) { return folderOfAttachName(f.top + "/long", 5000); },
                  FolderOutcome::ServerRefuses, 0, "File name too long"},
    OddFolderCase{"attach_name_of_32767_bytes",
                  [](OddFolderFixture& f) {
                      const std::string folder = folderOfAttachName(f.top + "/long", 32767);
                      EXPECT_EQ(attachNameOf(folder).size(), 32767u);
                      return folder;
                  },
                  FolderOutcome::ServerRefuses, 0, "File name too long"},
    OddFolderCase{"attach_name_of_32768_bytes",
                  [](OddFolderFixture& f) { return folderOfAttachName(f.top + "/long", 32768); },
                  FolderOutcome::ProgramRefuses},
    OddFolderCase{"attach_name_wrapping_onto_the_decoy",
                  [](OddFolderFixture& f) {
                      const std::string decoy = f.decoy->databasePath();
                      // 65536 bytes more than the decoy's own attach name: 16 bits keep just that.
                      const std::string prefix = "127.0.0.1/3050:" + decoy;
                      std::string folder = decoy + "/";
                      folder += std::string(65536 + prefix.size() - attachNameOf(folder).size(), 'w');
                      EXPECT_EQ(attachNameOf(folder).size(), 65536 + prefix.size());
                      // The fixture is sound: the wrapped length reaches the decoy.
                      EXPECT_TRUE(attachesThroughWrappedLength(attachNameOf(folder)));
                      return folder;
                  },
                  FolderOutcome::ProgramRefuses},
    OddFolderCase{"colon_in_a_folder_holding_a_database",
                  [](OddFolderFixture& f) {
                      f.ownDatabase(f.top + "/colon-source", 6);
                      const std::string folder = f.top + "/a:b";
                      std::filesystem::create_directories(folder + "/data");
                      std::filesystem::copy_file(f.own.back()->databasePath(), folder + "/data/BRIVANAATENDIMENTOS.FDB");
                      return folder;
                  },
                  FolderOutcome::ServerRefuses, 0, "unavailable database"},
    OddFolderCase{"another_server_and_the_decoy_in_the_folder",
                  [](OddFolderFixture& f) { return f.top + "/h/127.0.0.1/3050:" + f.decoy->folder(); },
                  FolderOutcome::ServerRefuses, 0, "unavailable database"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Typed text -----------------------------------------------------------

struct TypedCase {
    const char* name;
    std::u16string typed;
    std::size_t rows;       // when it works
    std::string error;      // the whole message, when it fails
};

class TypedText : public ::testing::TestWithParam<TypedCase> {
protected:
    // problema holds up to 8000 characters here, so patterns up to the
    // client's 20000-byte limit reach the server.
    static void SetUpTestSuite()
    {
        db_ = new ServerDatabase(
            "typed",
            "CREATE TABLE \"at_atendimento\" (\"problema\" VARCHAR(8000), \"solucao\" VARCHAR(5000));\n"
            "INSERT INTO \"at_atendimento\" VALUES ('Cliente o''reilly diz \"aspas\" e falha', 'a');\n"
            "INSERT INTO \"at_atendimento\" VALUES ('texto com '' or 1=1 -- dentro', 'b');\n"
            "INSERT INTO \"at_atendimento\" VALUES ('tela azul " + EmojiUtf8 + " após atualização', 'c');\n"
            "INSERT INTO \"at_atendimento\" VALUES ('x" + repeat(EmojiUtf8, 4000) + "y', 'd');\n"
            "INSERT INTO \"at_atendimento\" VALUES ('impressora sem papel', 'f');\n");
    }
    static void TearDownTestSuite() { delete db_; }
    static ServerDatabase* db_;
};
ServerDatabase* TypedText::db_ = nullptr;

TEST_P(TypedText, GoesToTheServerOnlyAsTheParameterAndFindsWhatItSays)
{
    auto service = db_->service();
    const std::string error = search(*service, GetParam().typed);
    EXPECT_EQ(error, GetParam().error);
    if (GetParam().error.empty())
        EXPECT_EQ(service->FDQuery1.rowCount(), GetParam().rows);
    else
        EXPECT_FALSE(service->FDQuery1.isOpen());
    EXPECT_EQ(serverHeld(*db_).activeTransactions, 0);
    // Nothing to reset: the next search works.
    EXPECT_EQ(search(*service, u"impressora"), "");
    EXPECT_EQ(service->FDQuery1.rowCount(), 1u);
    service->shutdown();
}

std::string tooLong(std::size_t bytes)
{
    return std::string(Prefix) + "-345. Data too large for variable [ID]. Max len = [20000], actual len = [" +
           std::to_string(bytes) + "] Hint: set the TFDParam.Size to a greater value";
}

INSTANTIATE_TEST_SUITE_P(Texts, TypedText, ::testing::Values(
    TypedCase{"quotes", u"o'reilly \"aspas\"", 1, ""},
    TypedCase{"sql_fragment", u"' or 1=1 --", 1, ""},
    TypedCase{"sql_comment_and_terminator", u"'; delete from \"at_atendimento\"; --", 0, ""},
    TypedCase{"surrogate_pair", Emoji, 2, ""},
    TypedCase{"lone_surrogate", u"tela \xD800", 0, ""},
    TypedCase{"4000_four_byte_characters", repeat(Emoji, 4000), 1, ""},
    TypedCase{"4998_four_byte_characters", repeat(Emoji, 4998), 0, ""},
    TypedCase{"5000_four_byte_characters", repeat(Emoji, 5000), 0, tooLong(20002)},
    // "%" + text + "%": 4999 four-byte characters and "ab" make exactly 20000 bytes.
    TypedCase{"20000_bytes", repeat(Emoji, 4999) + u"ab", 0, ""},
    TypedCase{"20001_bytes", repeat(Emoji, 4999) + u"abc", 0, tooLong(20001)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TypedTextSafety, TheTableIsUntouchedByWhatWasTyped)
{
    ServerDatabase db("untouched", attendanceTable(3, 2));
    auto service = db.service();
    for (const std::u16string typed : {u"'; delete from \"at_atendimento\"; --", u"' or 1=1 --",
                                       u"%'; drop table \"at_atendimento\"; commit; --"})
        EXPECT_EQ(search(*service, typed), "");
    service->shutdown();
    const std::string count = db.isql("SELECT 'rows=' || COUNT(*) FROM \"at_atendimento\";\n");
    EXPECT_NE(count.find("rows=5"), std::string::npos) << count;
}

// ---- Stored values --------------------------------------------------------

struct StoredCase {
    const char* name;
    std::string columns;     // the table's two column types
    std::string problema;    // SQL expression
    std::u16string expected; // problema as read
};

class StoredValue : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredValue, ReadsBackWithinTheFieldSizeAndWithoutBrokenCharacters)
{
    const StoredCase& c = GetParam();
    ServerDatabase db(c.name, "CREATE TABLE \"at_atendimento\" (" + c.columns + ");\n"
                              "INSERT INTO \"at_atendimento\" VALUES (" + c.problema + ", 'x╗Ana╗ok');\n");
    auto service = db.service(); // a fresh program: this is its first search
    ASSERT_EQ(search(*service, u""), "");
    ASSERT_EQ(service->FDQuery1.rowCount(), 1u);
    const quelvo::FieldValue problema = service->FDQuery1.fieldByName("problema");
    EXPECT_FALSE(problema.isNull);
    EXPECT_EQ(problema.size, c.expected.size());
    EXPECT_TRUE(problema.text() == c.expected);
    EXPECT_EQ(quelvo::splitSolutionRecord(service->FDQuery1.fieldByName("solucao").text()).analystCaption,
              u"Suporte:Ana");
    EXPECT_EQ(serverHeld(db).activeTransactions, 0);
    service->shutdown();
}

const std::string Utf8Columns = "\"problema\" VARCHAR(5000), \"solucao\" VARCHAR(5000)";
const std::string WideColumns = "\"problema\" VARCHAR(8000), \"solucao\" VARCHAR(5000)";

INSTANTIATE_TEST_SUITE_P(Values, StoredValue, ::testing::Values(
    StoredCase{"empty", Utf8Columns, "''", u""},
    StoredCase{"exactly_5000", Utf8Columns, "'" + std::string(5000, 'x') + "'", std::u16string(5000, u'x')},
    StoredCase{"beyond_5000", WideColumns, "'" + std::string(6000, 'x') + "'", std::u16string(5000, u'x')},
    StoredCase{"char_padded", "\"problema\" CHAR(5000), \"solucao\" VARCHAR(5000)", "'abc'", u"abc"},
    // 4000 four-byte characters are 8000 UTF-16 units: the first 5000 units.
    StoredCase{"4000_four_byte_characters", Utf8Columns, "'" + repeat(EmojiUtf8, 4000) + "'", repeat(Emoji, 2500)},
    // The 5000th unit would be the first half of a pair: the pair is left out.
    StoredCase{"pair_across_the_limit", Utf8Columns, "'x" + repeat(EmojiUtf8, 4000) + "'", u"x" + repeat(Emoji, 2499)}),
    [](const auto& info) { return std::string(info.param.name); });

// Firebird 3.0.11 cannot upper-case a UTF8 text of more than about 4100
// characters outside the Basic Multilingual Plane: with such a row stored,
// every search fails on the server. The program shows the server's text,
// holds nothing and works again once the row is gone.
TEST(StoredValue, FiveThousandFourByteCharactersMakeTheServerRefuseEverySearch)
{
    ServerDatabase db("upper_limit", "CREATE TABLE \"at_atendimento\" (" + Utf8Columns + ");\n"
                                     "INSERT INTO \"at_atendimento\" VALUES ('erro comum', 'a');\n"
                                     "INSERT INTO \"at_atendimento\" VALUES ('" + repeat(EmojiUtf8, 5000) + "', 'b');\n");
    auto service = db.service();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string error = search(*service, u"erro");
        EXPECT_EQ(error.rfind(std::string(Prefix) + "arithmetic exception, numeric overflow, or string truncation\r\n"
                                                    "string right truncation\r\n", 0), 0u) << error;
        EXPECT_FALSE(service->FDQuery1.isOpen());
        EXPECT_EQ(serverHeld(db).activeTransactions, 0);
    }
    db.isql("DELETE FROM \"at_atendimento\" WHERE \"problema\" <> 'erro comum';\nCOMMIT;\n");
    EXPECT_EQ(search(*service, u"erro"), "");
    EXPECT_EQ(service->FDQuery1.rowCount(), 1u);
    service->shutdown();
}

TEST(StoredValue, BytesThatAreNotUtf8InANoneColumnGiveTheTypeMismatchNotACrash)
{
    ServerDatabase db("none_bytes",
                      "CREATE TABLE \"at_atendimento\" (\"problema\" VARCHAR(100), "
                      "\"solucao\" VARCHAR(100) CHARACTER SET NONE);\n"
                      "INSERT INTO \"at_atendimento\" VALUES ('erro', x'C328FFFEEDA080');\n");
    auto service = db.service();
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(search(*service, u"erro"),
                  "FDQuery1: Type mismatch for field 'solucao', expecting: WideString actual: String");
        EXPECT_FALSE(service->FDQuery1.isOpen());
        EXPECT_EQ(serverHeld(db).activeTransactions, 0);
    }
    service->shutdown();
}

} // namespace
