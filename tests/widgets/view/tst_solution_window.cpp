#include "window_fixture.h"

#include "fonts.h"
#include "service/service_connection.h"
#include "titlebar.h"
#include "view/result_grid.h"
#include "view/result_model.h"
#include "view/search_window.h"
#include "view/solution_window.h"
#include "view/text_memo.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTest>

using testing_support::Windows;

namespace {

void scriptRecords(std::initializer_list<std::pair<std::optional<std::string>, std::optional<std::string>>> rows)
{
    fake::script().rows.clear();
    for (const auto& [problema, solucao] : rows)
        fake::script().rows.push_back({{problema, solucao}});
}

} // namespace

class SolutionWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fake::reset(); }

    void recordCases_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("analyst");
        QTest::addColumn<QString>("solution");
        const QString d = QStringLiteral("10/12/26 14:05");
        QTest::newRow("well formed") << d + "╗Ana Souza╗Reinstalar o driver" << "Data:" + d << "Suporte:Ana Souza"
                                     << "Reinstalar o driver";
        QTest::newRow("hidden head text") << d + " - Atendimento nº 4821 ╗Ana╗B" << "Data:" + d << "Suporte:Ana" << "B";
        QTest::newRow("third separator") << d + "╗Ana╗B╗C" << "Data:" + d << "Suporte:Ana" << "B╗C";
        QTest::newRow("one separator") << d + "╗Ana" << "Data:" + d << "" << "Suporte:Ana";
        QTest::newRow("no separator") << "sem separador nenhum" << "Data:sem separador " << ""
                                      << "Suporte:sem separador nenhum";
        QTest::newRow("empty") << "" << "Data:" << "" << "Suporte:";
        QTest::newRow("shorter than 14") << "ab╗c╗d" << "Data:ab╗c╗d" << "Suporte:c" << "d";
        QTest::newRow("separator among the first 14") << "10/12╗Ana╗Corpo do texto" << "Data:10/12╗Ana╗Corp"
                                                      << "Suporte:Ana" << "Corpo do texto";
    }

    void recordCases()
    {
        QFETCH(QString, record);
        QFETCH(QString, date);
        QFETCH(QString, analyst);
        QFETCH(QString, solution);
        scriptRecords({{"Problema completo\r\ncom duas linhas", record.toStdString()}});
        Windows w;
        w.clickMagnifier();
        w.clickCell(0, 1);
        QCOMPARE(w.shown.size(), 1);
        QCOMPARE(w.shown[0].date, date);
        QCOMPARE(w.shown[0].analyst, analyst);
        QCOMPARE(w.shown[0].solution, solution);
        QCOMPARE(w.shown[0].problem, QStringLiteral("Problema completo\ncom duas linhas"));
        QVERIFY(w.errors.isEmpty());
    }

    void twoRowsInTurnShowEachTheirOwn()
    {
        scriptRecords({{"p1", "01/01/26 08:00╗Ana╗um"}, {"p2", "02/02/26 09:00╗Bruno╗dois"}});
        Windows w;
        w.clickMagnifier();
        w.clickCell(0, 0);
        w.clickCell(1, 0);
        w.clickCell(0, 1);
        QCOMPARE(w.shown.size(), 3);
        QCOMPARE(w.shown[0].date, QStringLiteral("Data:01/01/26 08:00"));
        QCOMPARE(w.shown[1].date, QStringLiteral("Data:02/02/26 09:00"));
        QCOMPARE(w.shown[1].analyst, QStringLiteral("Suporte:Bruno"));
        QCOMPARE(w.shown[1].problem, QStringLiteral("p2"));
        QCOMPARE(w.shown[2].analyst, QStringLiteral("Suporte:Ana"));
    }

    void nullValuesGiveTheConversionErrorAndNoWindow_data()
    {
        QTest::addColumn<bool>("nullSolution");
        QTest::addColumn<bool>("nullProblem");
        QTest::addColumn<bool>("emptyResult");
        QTest::newRow("null solucao") << true << false << false;
        QTest::newRow("null problema") << false << true << false;
        QTest::newRow("empty row of an empty result") << false << false << true;
    }

    void nullValuesGiveTheConversionErrorAndNoWindow()
    {
        QFETCH(bool, nullSolution);
        QFETCH(bool, nullProblem);
        QFETCH(bool, emptyResult);
        Windows w;
        if (emptyResult) {
            scriptRecords({});
        } else {
            scriptRecords({{nullProblem ? std::nullopt : std::optional<std::string>("p"),
                            nullSolution ? std::nullopt : std::optional<std::string>("01/01/26 08:00╗Ana╗x")},
                           {"valid", "02/02/26 09:00╗Bruno╗ok"}});
        }
        w.clickMagnifier();
        w.clickCell(0, 0);
        QVERIFY(w.shown.isEmpty());
        QCOMPARE(w.errors.size(), 1);
        QCOMPARE(w.errors[0].text, QStringLiteral("Could not convert variant of type (Null) into type (OleStr)"));
        QCOMPARE(Form1, nullptr);
        const auto windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.begin(), windows.end(),
                             [](QWidget* widget) { return qobject_cast<TForm1*>(widget) != nullptr; }));

        if (!emptyResult) {
            w.clickCell(1, 0);
            QCOMPARE(w.shown.size(), 1);
            QCOMPARE(w.shown[0].analyst, QStringLiteral("Suporte:Bruno"));
        }
    }

    void reorderingColumnsChangesNothingShown()
    {
        scriptRecords({{"o problema", "01/01/26 08:00╗Ana╗a solução"}});
        Windows w;
        w.clickMagnifier();
        w.form().DBGrid1->horizontalHeader()->moveSection(0, 1);
        w.clickCell(0, 0);
        QCOMPARE(w.shown.size(), 1);
        QCOMPARE(w.shown[0].problem, QStringLiteral("o problema"));
        QCOMPARE(w.shown[0].solution, QStringLiteral("a solução"));
    }

    void theWindowIsModalHeldInForm1AndGoneAfterItsClose()
    {
        scriptRecords({{"p", "01/01/26 08:00╗Ana╗x"}});
        Windows w;
        w.clickMagnifier();
        w.clickCell(0, 0);
        QCOMPARE(w.shown.size(), 1);
        QVERIFY(w.shown[0].modal);
        QVERIFY(w.shown[0].form1Set);
        QCOMPARE(w.shown[0].focus, QStringLiteral("Memo2"));
        QCOMPARE(w.shown[0].size, QSize(1110, 562));
        QCOMPARE(Form1, nullptr);
        QVERIFY(w.form().isVisible());
        QCOMPARE(w.form().DataSource1->rowCount(), 1);
    }

    void itOpensCentredOverTheSearchWindow()
    {
        scriptRecords({{"p", "01/01/26 08:00╗Ana╗x"}});
        Windows w;
        w.form().move(300, 200);
        QTRY_COMPARE(w.form().pos(), QPoint(300, 200));
        w.clickMagnifier();
        w.clickCell(0, 0);
        QCOMPARE(w.shown.size(), 1);
        const QRect owner = w.form().frameGeometry();
        QCOMPARE(w.shown[0].position, QPoint(owner.left() + (owner.width() - 1110) / 2,
                                             owner.top() + (owner.height() - 562) / 2));
    }

    void layoutAndFontsFollowTheWindowDescription()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.pnlTopo->geometry(), QRect(0, 0, 1110, 24));
        QCOMPARE(form.Memo2->geometry(), QRect(3, 51, 539, 423));
        QCOMPARE(form.Memo1->geometry(), QRect(548, 51, 539, 423));
        QCOMPARE(form.Panel3->geometry(), QRect(10, 487, 1090, 41));
        QCOMPARE(form.Label3->pos(), QPoint(545, 0));
        QCOMPARE(form.Label2->pos(), QPoint(0, 24));
        for (QLabel* label : {form.Label1, form.Label2, form.Label3, form.Label4}) {
            QCOMPARE(label->font().family(), QStringLiteral("Tahoma"));
            QCOMPARE(label->font().pixelSize(), 13);
            QVERIFY(QFontInfo(label->font()).bold());
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        }
        QCOMPARE(form.Label1->text(), QStringLiteral("SOLUÇÃO"));
        QVERIFY(form.Memo1->isReadOnly() && form.Memo2->isReadOnly());
        // Tab stays in the box it was typed in.
        form.Memo2->setFocus();
        QTest::keyClick(form.Memo2, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form.Memo2);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    chrome::ensureTahoma();
    SolutionWindowTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_solution_window.moc"
