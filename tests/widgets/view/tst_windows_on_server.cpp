#include "server_database.h"
#include "window_fixture.h"

#include "fonts.h"
#include "view/result_grid.h"
#include "view/search_window.h"
#include "view/solution_window.h"
#include "view/text_memo.h"

#include <QApplication>
#include <QTest>

using testing_support::attendanceTable;
using testing_support::ServerDatabase;
using testing_support::Windows;

class WindowsOnServerTest : public QObject {
    Q_OBJECT

private slots:
    void rowsArriveInBatchesAsTheGridScrolls()
    {
        ServerDatabase db("grid", attendanceTable(120, 40));
        Windows w({}, db.folder());
        w.type(QStringLiteral("erro ao salvar"));
        w.clickMagnifier();
        QVERIFY(w.errors.isEmpty());
        view::ResultGrid* grid = w.form().DBGrid1;
        QCOMPARE(grid->model()->rowCount(), 50);
        grid->scrollToBottom();
        QTRY_COMPARE(grid->model()->rowCount(), 100);
        grid->scrollToBottom();
        QTRY_COMPARE(grid->model()->rowCount(), 120);
        grid->scrollToBottom();
        QTest::qWait(50);
        QCOMPARE(grid->model()->rowCount(), 120);
    }

    void fromTypedTextToTheSolution()
    {
        ServerDatabase db("e2e",
                          "CREATE TABLE \"at_atendimento\" (\"problema\" VARCHAR(5000), \"solucao\" VARCHAR(5000));\n"
                          "INSERT INTO \"at_atendimento\" VALUES ('Erro na EMISSÃO da nota fiscal eletrônica',"
                          " '09/12/26 16:20 - Atendimento nº 77 ╗Mariana Lopes╗Atualizar o certificado A1.');\n"
                          "INSERT INTO \"at_atendimento\" VALUES ('Nota fiscal antes da emissão', 'x');\n");
        Windows w({}, db.folder());
        w.type(QStringLiteral("  emissão  "));
        QTest::keyClick(w.form().Memo1, Qt::Key_Return);
        w.type(QStringLiteral("nota\tfiscal"));
        w.clickMagnifier();
        QVERIFY2(w.errors.isEmpty(), qPrintable(w.errors.value(0).text));
        QCOMPARE(w.form().DBGrid1->model()->rowCount(), 1);
        w.clickCell(0, 0);
        QCOMPARE(w.shown.size(), 1);
        QCOMPARE(w.shown[0].date, QStringLiteral("Data:09/12/26 16:20"));
        QCOMPARE(w.shown[0].analyst, QStringLiteral("Suporte:Mariana Lopes"));
        QCOMPARE(w.shown[0].solution, QStringLiteral("Atualizar o certificado A1."));
        QCOMPARE(w.shown[0].problem, QStringLiteral("Erro na EMISSÃO da nota fiscal eletrônica"));
        QCOMPARE(Form1, nullptr);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    chrome::ensureTahoma();
    WindowsOnServerTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_windows_on_server.moc"
