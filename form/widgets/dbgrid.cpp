#include "form/widgets/dbgrid.h"

#include "data/formato.h"
#include "form/widgets/ligacao.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/text.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolTip>
#include <algorithm>

namespace widgets {

namespace {

using dados::TipoCampo;

// Width of a field in characters, for columns without a width of their own.
int caracteres(const dados::DefCampo& def) {
    switch (def.tipo) {
    case TipoCampo::Texto: return def.tamanho > 0 ? def.tamanho : 10;
    case TipoCampo::Decimal: return def.tamanho > 0 ? def.tamanho + 2 : 15;
    case TipoCampo::Real: return 15;
    case TipoCampo::DataHora: return 18;
    case TipoCampo::Inteiro:
    case TipoCampo::Blob: return 10;
    }
    return 10;
}

}  // namespace

// Rows and cells read from the dataset when the view asks for them.
class ModeloGrade : public QAbstractTableModel {
public:
    explicit ModeloGrade(QObject* parent) : QAbstractTableModel(parent) {}

    dados::ClientDataSet* ds = nullptr;
    std::vector<ColunaGrade> explicitas;
    std::vector<ColunaGrade> colunas;
    std::vector<int> indices;              // field index of each column; -1 when absent
    std::vector<dados::DefCampo> defs;     // field of each column

    // Follows the dataset; true when the columns were made anew.
    bool sincroniza(bool refazColunas) {
        std::vector<const dados::Campo*> campos;
        if (ds)
            for (const auto& c : ds->campos()) campos.push_back(c.get());
        const int n = ds && ds->active() ? ds->recordCount() : 0;
        if (refazColunas || campos != campos_) {
            beginResetModel();
            campos_ = std::move(campos);
            resolveColunas();
            linhas_ = n;
            indicador_ = ds && ds->active() ? ds->recNo() - 1 : -1;
            endResetModel();
            return true;
        }
        // Rows come and go without a reset, so the view keeps its column widths.
        if (n > linhas_) {
            beginInsertRows({}, linhas_, n - 1);
            linhas_ = n;
            endInsertRows();
        } else if (n < linhas_) {
            beginRemoveRows({}, n, linhas_ - 1);
            linhas_ = n;
            endRemoveRows();
        }
        // Any row may have been re-read; the view repaints only what it shows.
        if (n > 0 && !colunas.empty()) emit dataChanged(index(0, 0), index(n - 1, columnCount() - 1));
        const int indicador = ds && ds->active() ? ds->recNo() - 1 : -1;
        for (int r : {indicador_, indicador})
            if (r >= 0 && r < linhas_) emit headerDataChanged(Qt::Vertical, r, r);
        indicador_ = indicador;
        return false;
    }

    std::string texto(int linha, int coluna) const {
        if (!ds || !ds->active() || linha < 0 || linha >= ds->recordCount() || coluna < 0 ||
            coluna >= columnCount())
            return {};
        const int i = indices[static_cast<std::size_t>(coluna)];
        if (i < 0) return {};
        return dados::textoExibicao(ds->valorEm(linha, i), defs[static_cast<std::size_t>(coluna)]);
    }

    int rowCount(const QModelIndex& pai = {}) const override { return pai.isValid() ? 0 : linhas_; }
    int columnCount(const QModelIndex& pai = {}) const override {
        return pai.isValid() ? 0 : static_cast<int>(colunas.size());
    }
    Qt::ItemFlags flags(const QModelIndex& idx) const override {
        return idx.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    QVariant data(const QModelIndex& idx, int papel) const override {
        if (!idx.isValid()) return {};
        const auto c = static_cast<std::size_t>(idx.column());
        if (papel == Qt::DisplayRole) return plataforma::paraQString(texto(idx.row(), idx.column()));
        if (papel == Qt::TextAlignmentRole) {
            Qt::Alignment a = colunas[c].alinhamento;
            if (!(a & Qt::AlignHorizontal_Mask)) a |= numerico(defs[c].tipo) ? Qt::AlignRight : Qt::AlignLeft;
            return static_cast<int>(a | Qt::AlignVCenter);
        }
        return {};
    }

    QVariant headerData(int secao, Qt::Orientation o, int papel) const override {
        if (o == Qt::Horizontal) {
            if (secao < 0 || secao >= columnCount()) return {};
            if (papel == Qt::DisplayRole) return plataforma::paraQString(colunas[static_cast<std::size_t>(secao)].titulo);
            if (papel == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
            return {};
        }
        if (papel != Qt::DisplayRole) return {};
        if (!ds || secao != ds->recNo() - 1) return QString();
        switch (ds->state()) {
        case dados::Estado::Editando: return QStringLiteral("I");
        case dados::Estado::Inserindo: return QStringLiteral("*");
        default: return QString(QChar(0x25B6));
        }
    }

private:
    void resolveColunas() {
        colunas.clear();
        indices.clear();
        defs.clear();
        if (explicitas.empty()) {
            for (const auto* c : campos_) colunas.push_back({c->nome(), c->nome()});
        } else {
            colunas = explicitas;
        }
        for (auto& col : colunas) {
            const dados::Campo* c = ds ? ds->campo(col.campo) : nullptr;
            indices.push_back(c ? c->indice() : -1);
            defs.push_back(c ? c->def() : dados::DefCampo{});
            if (col.titulo.empty()) col.titulo = c ? c->nome() : col.campo;
        }
    }

    std::vector<const dados::Campo*> campos_;  // the field objects the columns were made for
    int linhas_ = 0;
    int indicador_ = -1;  // row marked in the indicator column
};

namespace {
// Lets the form colour a cell (stripes) before the default drawing.
class DelegadoGrade : public QStyledItemDelegate {
public:
    explicit DelegadoGrade(DBGrid* grade) : QStyledItemDelegate(grade), grade_(grade) {}

protected:
    void initStyleOption(QStyleOptionViewItem* opcao, const QModelIndex& idx) const override {
        QStyledItemDelegate::initStyleOption(opcao, idx);
        if (!grade_->OnDrawColumnCell) return;
        const bool selecionada = opcao->state & QStyle::State_Selected;
        CoresCelula cores;
        try {
            grade_->OnDrawColumnCell(idx.row() + 1, idx.column(), selecionada, cores);
        } catch (const std::exception&) {
            return;  // no message box in the middle of painting
        }
        if (cores.fundo.isValid()) {
            if (selecionada)
                opcao->palette.setColor(QPalette::Highlight, cores.fundo);
            else
                opcao->backgroundBrush = cores.fundo;
        }
        if (cores.texto.isValid())
            opcao->palette.setColor(selecionada ? QPalette::HighlightedText : QPalette::Text, cores.texto);
    }

private:
    DBGrid* grade_;
};
}  // namespace

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), modelo_(new ModeloGrade(this)) {
    setModel(modelo_);
    setItemDelegate(new DelegadoGrade(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    // Fixed row heights: nothing is measured per row, however many there are.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setHighlightSections(false);
    ajustaAoFonte();
}

void DBGrid::ajustaAoFonte() {
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(fontMetrics().horizontalAdvance(QChar(0x25B6)) + 10);
}

void DBGrid::changeEvent(QEvent* e) {
    QTableView::changeEvent(e);
    if (e->type() != QEvent::FontChange) return;
    // The titles too: a desktop theme may give headers a font of their own.
    horizontalHeader()->setFont(font());
    verticalHeader()->setFont(font());
    ajustaAoFonte();
    aplicaColunas();  // columns without a width of their own are measured in the font
}

DBGrid::~DBGrid() = default;

void DBGrid::liga(dados::DataSource* fonte) {
    if (fonte_) fonte_->disconnect(this);
    fonte_ = fonte;
    modelo_->ds = fonte_ ? fonte_->dataset() : nullptr;
    if (fonte_) {
        connect(fonte_, &dados::DataSource::dataChanged, this, &DBGrid::sincroniza);
        connect(fonte_, &dados::DataSource::stateChanged, this, &DBGrid::sincroniza);
        connect(fonte_, &dados::DataSource::fieldChanged, this, [this] {
            const int r = modelo_->ds ? modelo_->ds->recNo() - 1 : -1;
            if (r >= 0 && r < modelo_->rowCount() && modelo_->columnCount() > 0)
                emit modelo_->dataChanged(modelo_->index(r, 0), modelo_->index(r, modelo_->columnCount() - 1));
        });
        // The dataset may be destroyed before the grid; without its source the
        // grid shows nothing.
        connect(fonte_, &QObject::destroyed, this, [this] {
            modelo_->ds = nullptr;
            sincronizando_ = true;
            modelo_->sincroniza(true);
            sincronizando_ = false;
        });
    }
    sincronizando_ = true;
    modelo_->sincroniza(true);
    aplicaColunas();
    mostraAtual();
    sincronizando_ = false;
}

void DBGrid::defineColunas(std::vector<ColunaGrade> colunas) {
    modelo_->explicitas = std::move(colunas);
    sincronizando_ = true;
    modelo_->sincroniza(true);
    aplicaColunas();
    mostraAtual();
    sincronizando_ = false;
}

const std::vector<ColunaGrade>& DBGrid::colunas() const { return modelo_->colunas; }

std::string DBGrid::textoCelula(int linha, int coluna) const { return modelo_->texto(linha, coluna); }

void DBGrid::sincroniza() {
    sincronizando_ = true;
    if (modelo_->sincroniza(false)) aplicaColunas();
    mostraAtual();
    sincronizando_ = false;
}

void DBGrid::aplicaColunas() {
    const QFontMetrics fm(font());
    const QFontMetrics fmTitulo(horizontalHeader()->font());
    for (std::size_t i = 0; i < modelo_->colunas.size(); ++i) {
        const ColunaGrade& c = modelo_->colunas[i];
        int largura = c.largura;
        if (largura < 0)
            largura = std::max(caracteres(modelo_->defs[i]) * fm.horizontalAdvance(QLatin1Char('0')),
                               fmTitulo.horizontalAdvance(plataforma::paraQString(c.titulo))) +
                      8;
        setColumnWidth(static_cast<int>(i), largura);
        setColumnHidden(static_cast<int>(i), !c.visivel);
    }
}

void DBGrid::mostraAtual() {
    const dados::ClientDataSet* ds = modelo_->ds;
    const int r = ds && ds->active() ? ds->recNo() - 1 : -1;
    if (r < 0 || r >= modelo_->rowCount() || modelo_->columnCount() == 0) {
        selectionModel()->clear();
        return;
    }
    int coluna = currentIndex().isValid() ? currentIndex().column() : 0;
    while (coluna < modelo_->columnCount() - 1 && isColumnHidden(coluna)) ++coluna;
    const QModelIndex idx = modelo_->index(r, coluna);
    if (currentIndex() != idx || !selectionModel()->isRowSelected(r, {}))
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(idx);
}

void DBGrid::currentChanged(const QModelIndex& atual, const QModelIndex& anterior) {
    QTableView::currentChanged(atual, anterior);
    dados::ClientDataSet* ds = modelo_->ds;
    if (sincronizando_ || !atual.isValid() || !ds || !ds->active() || atual.row() == ds->recNo() - 1) return;
    plataforma::protegido([&] { ds->moveTo(atual.row() + 1); });
    // A move the dataset refused puts the grid back on the dataset's record.
    if (ds->recNo() - 1 != atual.row()) QTimer::singleShot(0, this, &DBGrid::sincroniza);
}

bool DBGrid::textoCabe(const QModelIndex& idx) const {
    const int margens = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    return fontMetrics().horizontalAdvance(idx.data().toString()) + margens <= columnWidth(idx.column());
}

bool DBGrid::viewportEvent(QEvent* e) {
    if (e->type() != QEvent::ToolTip) return QTableView::viewportEvent(e);
    // A value longer than its column shows whole under the pointer.
    const auto* ajuda = static_cast<QHelpEvent*>(e);
    const QModelIndex idx = indexAt(ajuda->pos());
    if (idx.isValid() && !textoCabe(idx))
        QToolTip::showText(ajuda->globalPos(), idx.data().toString(), viewport(), visualRect(idx));
    else
        QToolTip::hideText();
    return true;
}

void DBGrid::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete && (e->modifiers() & Qt::ControlModifier)) {
        e->accept();
        dados::ClientDataSet* ds = modelo_->ds;
        if (somenteLeitura_ || !ds || !ds->active() || ds->isEmpty()) return;
        plataforma::protegido([&] {
            if (plataforma::confirmaOkCancela("Delete record?")) ds->remove();
        });
        return;
    }
    char c = teclaDe(*e).caractere;
    if (!passaPeloGancho(OnKeyPress, c)) {
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

}  // namespace widgets
