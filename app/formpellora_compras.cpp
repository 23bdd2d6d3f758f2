// The last purchases of the current capsule.
#include "app/formpellora.h"

#include "form/widgets/aparencia.h"
#include "data/dm.h"
#include "form/widgets/dbedit.h"
#include "form/widgets/dbgrid.h"
#include "platform/program.h"
#include "platform/text.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

using namespace plataforma::literais;

using aparencia::arial;
using aparencia::pinta;
using plataforma::paraQString;

namespace {

const QColor kGrena(128, 0, 0);

// The supplier and telephone labels grow with their text up to the sale price
// editor beside them; the whole text stays in the tooltip.
constexpr int kLarguraRotulos = 234;

void ajustaRotulo(QLabel* l, const std::string& texto) {
    l->setText(paraQString(texto));
    l->adjustSize();
    if (l->width() > kLarguraRotulos) l->resize(kLarguraRotulos, l->height());
    l->setToolTip(l->text());
}

}  // namespace

void FormPellora::criaPainelCompras() {
    pnl_UltimaCompra = new QFrame(PainelComponentes);
    pnl_UltimaCompra->setObjectName(QStringLiteral("pnl_UltimaCompra"));
    pnl_UltimaCompra->setFrameStyle(QFrame::Box | QFrame::Plain);
    pnl_UltimaCompra->setAutoFillBackground(true);
    pnl_UltimaCompra->hide();
    QWidget* p = pnl_UltimaCompra;

    PanelTituloUltCompra = aparencia::barraTitulo(p, paraQString("Últimas Compras"_w));
    PanelTituloUltCompra->setObjectName(QStringLiteral("PanelTituloUltCompra"));
    DBGridUltimaCompra = new widgets::DBGrid(p);
    DBGridUltimaCompra->setObjectName(QStringLiteral("DBGridUltimaCompra"));
    DBGridUltimaCompra->setReadOnly(true);
    DBGridUltimaCompra->setFont(aparencia::fonteGrade());
    DBGridUltimaCompra->OnDrawColumnCell = [this](int recNo, int coluna, bool selecionada,
                                                  widgets::CoresCelula& c) {
        DBGridUltimaCompraDrawColumnCell(recNo, coluna, selecionada, c);
    };
    lblFornecUltimaCompra = new QLabel(QStringLiteral("Fornecedor: "), p);
    lblFornecUltimaCompra->setObjectName(QStringLiteral("lblFornecUltimaCompra"));
    lblTelUltimaCompra = new QLabel(QStringLiteral("Telefone....: "), p);
    lblTelUltimaCompra->setObjectName(QStringLiteral("lblTelUltimaCompra"));
    for (QLabel* l : {lblFornecUltimaCompra, lblTelUltimaCompra}) {
        l->setFont(arial(13));
        pinta(l, QColor(), kGrena);
    }
    BitBtnOcultarUltCompra = new QPushButton(QStringLiteral("Ocultar - Ultimas Compras"), p);
    BitBtnOcultarUltCompra->setObjectName(QStringLiteral("BitBtnOcultarUltCompra"));
    BitBtnOcultarUltCompra->setFont(arial(13, true));
    ligaClique(BitBtnOcultarUltCompra, &FormPellora::BitBtnOcultarUltCompraClick);

    // The capsule's sale price beside the purchases, between the supplier's
    // labels and the hide button; guarded as the form's own sale price editor
    // (the guard on entering it is bound with the others, in ligaEventos).
    Label4 = new QLabel(paraQString("Valor Unit. Venda R$"), p);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(arial(11, true));
    pinta(Label4, QColor(), aparencia::kAzulMarinho);
    DBEdit4 = new widgets::DBEdit(p);
    DBEdit4->setObjectName(QStringLiteral("DBEdit4"));
    DBEdit4->setFont(arial(13));
    DBEdit4->setFocusPolicy(Qt::ClickFocus);
    DBEdit4->OnClick = [this] { DBEdit8Click(); };
}

void FormPellora::BitBtnUltimaCompraClick() {
    PanelTituloUltCompra->setGeometry(2, 3, 522, 26);
    DBGridUltimaCompra->setGeometry(3, 27, 520, 296);
    lblFornecUltimaCompra->setGeometry(2, 336, 73, 16);
    lblTelUltimaCompra->setGeometry(2, 357, 47, 16);
    BitBtnOcultarUltCompra->setGeometry(354, 341, 167, 30);
    Label4->setGeometry(240, 327, 112, 16);
    DBEdit4->setGeometry(240, 344, 108, 27);

    // A statement that fails leaves the window as it was.
    const dados::DM::Fornecedor fornecedor = dm_->abreUltimasCompras(textoDescricao());
    ajustaRotulo(lblFornecUltimaCompra, "Fornecedor: " + fornecedor.nome);
    ajustaRotulo(lblTelUltimaCompra, "Telefone....: " + fornecedor.telefone);

    // "&Tabela" and "Última Compra" go off with the panel shown.
    mudaEstado(estado_.comPainel(EstadoJanela::Painel::Compras));

    constexpr auto direita = Qt::AlignRight;
    DBGridUltimaCompra->defineColunas({
        {"Loja", "Local", 70},
        {"Nota Fiscal", "", 60},
        {"Fornecedor", "", 80},
        {"TEL", "", -1, {}, false},
        {"Data", "", 60},
        {"Qde", "", 60},
        {"Unid", "", 30, direita},
        {"Preco Unit", "", 60, direita},
        {"Total", "", 60, direita},
    });
}

// "&Tabela" and "Última Compra" come back with the panel hidden, unless a record
// is being edited (typing the sale price on the panel starts an edit).
void FormPellora::BitBtnOcultarUltCompraClick() {
    mudaEstado(estado_.comPainel(EstadoJanela::Painel::Nenhum));
    dm_->fechaUltimasCompras();
}

void FormPellora::DBGridUltimaCompraDrawColumnCell(int recNo, int, bool selecionada, widgets::CoresCelula& cores) {
    if (recNo % 2 == 0 && !selecionada) cores.fundo = QColor(212, 212, 212);
}
