#pragma once
// A grid over a data source: one row per record, read straight from the dataset
// when drawn (nothing is copied), whole-row selection, no in-place editing. The
// grid's current row is the dataset's current record, both ways. The indicator
// column marks the current record. Ctrl+Delete deletes the current record after
// "Delete record?" unless the grid is read-only.
#include "data/dataset.h"

#include <QColor>
#include <QPointer>
#include <QTableView>
#include <functional>
#include <string>
#include <vector>

namespace widgets {

struct ColunaGrade {
    std::string campo;
    std::string titulo;          // empty: the field's name
    int largura = -1;            // pixels; -1: the field's size in characters
    Qt::Alignment alinhamento{};  // none: numbers right, text left
    bool visivel = true;
};

// Colours the form may give a cell before it is drawn; invalid colours keep the
// grid's own.
struct CoresCelula {
    QColor fundo;
    QColor texto;
};

class ModeloGrade;

class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);
    ~DBGrid() override;

    void liga(dados::DataSource* fonte);
    dados::DataSource* fonte() const { return fonte_; }

    // The columns, in order. An empty list shows every field of the dataset in
    // field order, titled with its name, as wide as its size in characters.
    void defineColunas(std::vector<ColunaGrade> colunas);
    // The columns shown now (the automatic ones resolved).
    const std::vector<ColunaGrade>& colunas() const;

    void setReadOnly(bool somenteLeitura) { somenteLeitura_ = somenteLeitura; }
    bool isReadOnly() const { return somenteLeitura_; }

    // Text of a cell as drawn (row and column 0-based).
    std::string textoCelula(int linha, int coluna) const;
    // Whether a cell's text shows whole in its column; a cut one shows whole in
    // a tooltip under the pointer.
    bool textoCabe(const QModelIndex& celula) const;

    // Before a cell is drawn: its record number (1-based), its column and whether
    // its row is selected.
    std::function<void(int recNo, int coluna, bool selecionada, CoresCelula& cores)> OnDrawColumnCell;
    // The typed character (13 Enter, 27 Esc); set it to 0 to consume it.
    std::function<void(char&)> OnKeyPress;

protected:
    void changeEvent(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyboardSearch(const QString&) override {}  // letters do not move the record
    void currentChanged(const QModelIndex& atual, const QModelIndex& anterior) override;

private:
    void sincroniza();  // the dataset changed: rows, current row, columns
    void mostraAtual();
    void aplicaColunas();
    void ajustaAoFonte();  // row height and indicator width

    QPointer<dados::DataSource> fonte_;
    ModeloGrade* modelo_;
    bool somenteLeitura_ = false;
    bool sincronizando_ = false;
};

}  // namespace widgets
