#pragma once

#include "DbGridSemScroll.h"
#include "DiscountTableModel.h"

#include <QColor>
#include <QDialog>
#include <functional>
#include <vector>

class QPalette;
class QPushButton;

namespace precivox {

class Connection;
class Prompter;

// How a data cell of the dialog's grid is painted.
struct CellLook {
    QColor background;
    QColor text;
    bool bold = false;
};

// `recordNumber` counts rows from 1. Odd rows light blue, even rows the window colour;
// the selected cell navy with white bold text; a marked row in the legend colour, over
// both, a selected one keeping its white bold text.
CellLook columnCellLook(int recordNumber, bool selected, bool marked, const QPalette& palette);

// The modal dialog in which the operator marks the one discount table that the price
// answers are to follow. Its list is read on the main window's connection each time it
// opens, every row unmarked; marks change only the dialog's own copy of the rows.
class TFSelecionarTabela : public QDialog {
public:
    // Message boxes go through `prompter`, which should own them to this dialog.
    TFSelecionarTabela(QWidget* owner, Connection& conexao, Prompter& prompter);
    ~TFSelecionarTabela() override;

    const std::vector<DiscountTableRow>& rows() const { return model_.rows(); }
    TNoVertScrollDBGrid* grid() const { return NoVertScrollDBGrid1; }
    QPushButton* okButton() const { return BitBtn1; }
    QPushButton* cancelButton() const { return BitBtn2; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    bool FormKeyDown(int key);
    void BitBtn1Click();
    void toggleMark();
    void unmarkAll();
    [[noreturn]] void refuse(const char* text);
    void walkRows(const std::function<void(int row)>& visit);
    // Runs a handler at its event's edge; none runs while a walk lets events through.
    void handle(const std::function<void()>& handler);

    Connection& conexao_;
    Prompter& prompter_;
    DiscountTableModel model_;
    bool shown_ = false;
    bool walking_ = false;

    TNoVertScrollDBGrid* NoVertScrollDBGrid1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};

} // namespace precivox
