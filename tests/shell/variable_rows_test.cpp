// The Variables and Watches panes' rows and values, worked out without a
// widget: every name with its kind and address, the values of a paused
// state, and the watches the two panes share; then both panes showing them.
#include "shell/debugger/variable_rows.h"

#include <QSignalSpy>
#include <QtTest>

#include "emulator_test_support.h"
#include "shell/debugger/variables_pane.h"
#include "shell/debugger/watch_model.h"
#include "shell/debugger/watches_pane.h"

using namespace zr::shell;
using namespace zr::shell::testing;
using zr::machine::VariableArea;

namespace {

const char* kNames =
    "DimB b1\n"
    "DimI t(3)\n"
    "DimS x\n"
    "-1 Wait\n";

const VariableRow& RowOf(const std::vector<VariableRow>& rows, const char* name) {
    static const VariableRow none;
    const VariableRow* row = FindVariableRow(rows, name);
    return row ? *row : none;
}

}  // namespace

class VariableRowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zr::compiler::Compiler> compiled_ = Compile(kNames);
    std::vector<VariableRow> rows_ = VariableRowsOf(compiled_->names);

    // b1 = 7, t(2) = -3, x = 2.5, the port inputs 5, ADC2 at 512, I2C 5 = 9.
    PausedValues Values() const {
        PausedValues values;
        values.decimalSeparator = ',';
        values.machine.bytes.at(RowOf(rows_, "b1").cell->index) = 7;
        values.machine.integers.at(RowOf(rows_, "t(2)").cell->index) = -3;
        values.machine.singles.at(RowOf(rows_, "x").cell->index) = 2.5f;
        values.io.portInputs = 5;
        values.io.adc[1] = 512;
        values.io.i2c[5] = 9;
        return values;
    }

  private slots:
    void everyNameWithItsKindAndAddress() {
        const struct {
            const char* name;
            const char* kind;
            int elements;
        } cases[] = {{"b1", "байт (Byte)", 0},          {"t", "массив целых (Integer) из 3", 3},
                     {"x", "вещественная (Single)", 0}, {"i", "целая (Integer)", 0},
                     {"Stack", "указатель стека", 0},   {"PORT", "порт (PORT)", 0},
                     {"ADC", "входы АЦП (ADC): 4", 4},  {"I2C", "ячейки I2C: 128", 128}};
        for (const auto& c : cases) {
            const VariableRow* row = FindVariableRow(rows_, c.name);
            QVERIFY2(row, c.name);
            QCOMPARE(row->kind, QString(c.kind));
            QCOMPARE(static_cast<int>(row->elements.size()), c.elements);
            QCOMPARE(row->cell.has_value(), c.elements == 0);
        }
        QVERIFY(!FindVariableRow(rows_, "RX"));  // shown with the value stack
        QVERIFY(!FindVariableRow(rows_, "nope"));

        // Elements count from 1 and follow the first one's area index; the
        // ADC channels and I2C elements are their own indexes.
        const VariableRow& t = RowOf(rows_, "t");
        QCOMPARE(FindVariableRow(rows_, "T(2)"), &t.elements[1]);
        QCOMPARE(t.elements[2].name, QString("t(3)"));
        QCOMPARE(t.elements[0].address, t.address);
        QCOMPARE(t.elements[2].cell->index, t.address.toInt() + 2);
        QCOMPARE(RowOf(rows_, "ADC(1)").cell->index, 0);
        QCOMPARE(RowOf(rows_, "I2C(7)").cell->index, 7);
    }

    void valuesOfAPausedState() {
        const PausedValues values = Values();
        const struct {
            const char* name;
            const char* value;  // in the display's form, the state's separator
            int breakOperand;   // -1: cannot break on change
        } cases[] = {{"b1", "7", 33},       {"t(2)", "-3", -2},
                     {"x", "2,5", -2},      {"PORT", "5", -1},
                     {"ADC(2)", "512", -1}, {"I2C(5)", "9", -1},
                     {"t", "0; -3; 0", -1}, {"I2C", "0; 0; 0; 0; 9; 0; 0; 0; …", -1}};
        for (const auto& c : cases) {
            const VariableRow& row = RowOf(rows_, c.name);
            QCOMPARE(ValueSummary(row, values), QString(c.value));
            if (row.cell) {
                QCOMPARE(ValueText(*row.cell, values), QString(c.value));
            }
            if (c.breakOperand == -2) {  // any operand of its own
                QVERIFY2(BreakOperandOf(row) >= 0, c.name);
            } else {
                QCOMPARE(BreakOperandOf(row), c.breakOperand);
            }
        }
        QVERIFY(BreakOperandOf(RowOf(rows_, "Stack")) >= 0);

        PausedValues stacked = values;
        stacked.machine.stackPointer = 5;
        for (int slot = 1; slot <= 5; ++slot) stacked.machine.valueStack[slot] = slot;
        QStringList stack;
        for (const StackRow& row : StackRowsOf(stacked)) stack << row.name + "=" + row.value;
        QCOMPARE(stack, QStringList({"X=5", "Y=4", "Z=3", "T=2", "5=1"}));
    }

    // One model behind both panes: pins and checks of either, the data
    // breakpoints they make, and what changed from one pause to the next.
    void watchesAndChangesOfTheSharedModel() {
        WatchModel model;
        model.SetNames(compiled_->names);
        QSignalSpy kept(&model, &WatchModel::watchesChanged);
        QSignalSpy breaking(&model, &WatchModel::dataBreakpointsChanged);
        model.Pin("t(2)");
        model.Pin("nope");                     // not in the program
        model.SetBreakOnChange("PORT", true);  // reading it talks to the hardware
        model.SetBreakOnChange("b1", true);    // pins it too
        QCOMPARE(model.list(), (WatchList{{"t(2)", "b1"}, {"b1"}}));
        QCOMPARE(kept.size(), 2);
        QCOMPARE(breaking.size(), 1);
        QCOMPARE(model.dataBreakpointOperands(), std::vector<int>{33});
        QCOMPARE(model.breakingWatchOf(33), QString("b1"));

        // Put back as kept: a name the program lacks stays for a later one.
        model.SetList({{"gone", "b1"}, {"gone", "b1"}});
        QCOMPARE(kept.size(), 2);
        QCOMPARE(model.watches(), QStringList({"gone", "b1"}));
        QCOMPARE(model.dataBreakpointOperands(), std::vector<int>{33});
        model.Unpin("b1");
        QCOMPARE(breaking.size(), 2);
        QVERIFY(model.dataBreakpointOperands().empty());

        const VariableRow& b1 = RowOf(model.rows(), "b1");
        const VariableRow& t2 = RowOf(model.rows(), "t(2)");
        QVERIFY(!model.values());
        QCOMPARE(model.ValueText(*b1.cell), QString());
        PausedValues values = Values();
        model.ShowPause(values);
        QCOMPARE(model.ValueText(*b1.cell), QString("7"));
        QVERIFY(!model.Changed(*b1.cell));  // nothing to compare with yet
        values.machine.bytes.at(b1.cell->index) = 8;
        model.ShowPause(values);
        QVERIFY(model.Changed(*b1.cell));
        QVERIFY(!model.Changed(*t2.cell));
        model.SetNames(compiled_->names);  // a new program: no values until it pauses
        QVERIFY(!model.values());
        QVERIFY(!model.Changed(*RowOf(model.rows(), "b1").cell));
    }

    // Both panes show one model, no run needed: a watch the program lacks
    // stays listed, greyed, in the Watches pane only; PORT gets no check
    // box; the value stack's X is not the variable x; Delete unpins once
    // the key is handled.
    void panesShowTheModelTheyShare() {
        VariablesPane variables;
        WatchesPane watches(variables.model());
        variables.SetWatchList({{"gone", "x", "PORT"}, {}});
        variables.SetNames(compiled_->names);
        QCOMPARE(watches.tree()->topLevelItemCount(), 3);
        QCOMPARE(watches.rowNamed("gone")->text(WatchesPane::KindColumn),
                 QString("нет в программе"));
        QVERIFY(!variables.watchNamed("gone"));
        QVERIFY(variables.watchNamed("x"));
        QVERIFY(!(watches.rowNamed("PORT")->flags() & Qt::ItemIsUserCheckable));
        QVERIFY(watches.rowNamed("x")->flags() & Qt::ItemIsUserCheckable);

        PausedValues values = Values();
        values.machine.stackPointer = 4;  // X, Y, Z, T
        variables.ShowValues(values.machine, values.io, values.decimalSeparator);
        QCOMPARE(variables.itemNamed("x")->text(VariablesPane::kKind),
                 QString("вещественная (Single)"));
        QCOMPARE(variables.itemNamed("x")->text(VariablesPane::kValue), QString("2,5"));
        QCOMPARE(watches.rowNamed("x")->text(WatchesPane::ValueColumn), QString("2,5"));

        watches.tree()->setCurrentItem(watches.rowNamed("gone"));
        QTest::keyClick(watches.tree(), Qt::Key_Delete);
        QTRY_VERIFY(!watches.rowNamed("gone"));
        QCOMPARE(variables.watches(), QStringList({"x", "PORT"}));
    }
};

QTEST_MAIN(VariableRowsTest)
#include "variable_rows_test.moc"
