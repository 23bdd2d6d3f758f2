#include "help/form2.h"

#include "data/catalogo.h"
#include "data/dm.h"
#include "form/widgets/aparencia.h"
#include "form/widgets/dbrichedit.h"
#include "form/widgets/dbrotulo.h"
#include "help/assunto.h"
#include "help/posicao.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <optional>

using namespace plataforma::literais;

using dados::Estado;
using plataforma::paraQString;

namespace ajuda {

std::string mensagemPaginaNaoGravada(const std::string& mensagemBanco) {
    return "Não foi possível gravar a página do manual.\r\n"_w + mensagemBanco;
}

}  // namespace ajuda

namespace {


constexpr int kEsquerdaTexto = 6;
constexpr int kTopoTexto = 64;
constexpr int kEsquerdaAnterior = 2;
constexpr int kAlturaBotoes = 25;

// The number after the subject's highest page; the maximum is null when the
// subject has no page.
int proximaPagina(const regras::Valor& maximo) {
    if (const auto* v = std::get_if<std::int32_t>(&maximo)) return *v + 1;
    if (const auto* v = std::get_if<std::int64_t>(&maximo)) return static_cast<int>(*v) + 1;
    return 1;
}

}  // namespace

Form2::Form2(dados::DM* dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Manual do BRENVITA"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QPalette fundo = palette();
    fundo.setColor(QPalette::Window, QApplication::palette().color(QPalette::Light));  // button highlight
    setPalette(fundo);
    setAutoFillBackground(true);
    resize(270, 590);
    if (const QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->availableGeometry().center() - QPoint(270 / 2, 590 / 2));

    DBEdit1 = new widgets::DBRotulo(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setFont(aparencia::arialArredondada(15));
    aparencia::pinta(DBEdit1, QColor(), aparencia::kAzulMarinho);
    DBEdit1->setGeometry(6, 6, 246, 51);

    DBRichEdit1 = new widgets::DBRichEdit(this);
    DBRichEdit1->setObjectName(QStringLiteral("DBRichEdit1"));
    DBRichEdit1->setFrameShape(QFrame::NoFrame);
    DBRichEdit1->setFont(aparencia::arial(13));
    aparencia::pinta(DBRichEdit1, QColor(), aparencia::kAzulMarinho);
    DBRichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBRichEdit1->setGeometry(kEsquerdaTexto, kTopoTexto, 246, 460);

    BitBtn2 = new QPushButton(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    BitBtn1 = new QPushButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    // The typing goes on in the page while the user leafs through.
    for (QPushButton* b : {BitBtn2, BitBtn1}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
    }
    // The buttons show only arrows and the page has no label: named for screen readers.
    BitBtn2->setAccessibleName(paraQString("Página anterior"_w));
    BitBtn1->setAccessibleName(paraQString("Próxima página"_w));
    DBRichEdit1->setAccessibleName(paraQString("Texto da página"_w));

    Aviso = new QLabel(this);
    Aviso->setObjectName(QStringLiteral("Aviso"));
    Aviso->setText(paraQString("PROBLEMA:\n"
                               "Foi ultrapassado o limite de\n"
                               "1000 caracteres por página.\n"_w
                               "O texto excedente não será\n"_w
                               "gravado no tutorial.\n"
                               "SOLUÇAO:\n"_w
                               "Crie uma nova página e \n"_w
                               "cole nela o texto excedente.\n"
                               " "));
    Aviso->setAlignment(Qt::AlignCenter);
    Aviso->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Aviso->setFont(aparencia::arial(13, true));
    QPalette amarelo = Aviso->palette();
    amarelo.setColor(QPalette::Window, Qt::yellow);
    amarelo.setColor(QPalette::WindowText, Qt::black);
    Aviso->setPalette(amarelo);
    Aviso->setAutoFillBackground(true);
    Aviso->setGeometry(5, 4, 242, 173);
    Aviso->hide();

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Incluirnovapgina1 = PopupMenu1->addAction(paraQString("Incluir nova página"_w));
    Incluirnovapgina1->setObjectName(QStringLiteral("Incluirnovapgina1"));
    Excluirpginacorrente1 = PopupMenu1->addAction(paraQString("Excluir página corrente"_w));
    Excluirpginacorrente1->setObjectName(QStringLiteral("Excluirpginacorrente1"));
    DBRichEdit1->setContextMenu(PopupMenu1);

    DBEdit1->liga(&dm_->DS_Tutorial, "ASSUNTO");
    DBRichEdit1->liga(&dm_->DS_Tutorial, "TEXTO");
    DBRichEdit1->OnChange = [this] { DBRichEdit1Change(); };

    connect(Incluirnovapgina1, &QAction::triggered, this,
            [this] { plataforma::protegido([this] { Incluirnovapgina1Click(); }); });
    connect(Excluirpginacorrente1, &QAction::triggered, this,
            [this] { plataforma::protegido([this] { Excluirpginacorrente1Click(); }); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { plataforma::protegido([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { plataforma::protegido([this] { BitBtn2Click(); }); });

    FormResize();
}

Form2::~Form2() {
    // Deleted without being closed: the pages are no longer shown anywhere.
    if (!fechada_ && ativada_) plataforma::protegido([this] { dm_->fechaTutorial(); });
}

// The window loads its subject once per showing: a message box over it must
// not reload the pages or move the window back.
void Form2::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (ativada_) return;
    ativada_ = true;
    plataforma::protegido([this] { FormActivate(); });
}

void Form2::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    FormResize();
}

// Every way of closing (the close box, Esc, code) ends here.
void Form2::done(int resultado) {
    if (!fechada_) {
        fechada_ = true;
        plataforma::protegido([this] { FormClose(); });
    }
    QDialog::done(resultado);
}

void Form2::FormActivate() {
    // A value that is not a number stops here: designed placement, no page.
    const std::string arquivo = plataforma::caminhoSuite(ajuda::kArquivoPosicao);
    ajuda::Posicao posicao;
    if (plataforma::arquivoExiste(arquivo)) {
        if (const auto linhas = plataforma::leLinhas(arquivo)) posicao = ajuda::lePosicao(*linhas);
    } else {
        plataforma::gravaLinhas(arquivo, ajuda::linhasPosicao(posicao));
    }
    // The placement is the window's own area, without the frame, both ways: a
    // window manager draws the frame only after the window is placed, so a
    // frame position set now would land on the area and creep at every showing.
    setGeometry(posicao.esquerda, posicao.topo, posicao.largura, posicao.altura);

    auto& tutorial = dm_->Tutorial;
    dm_->abreTutorialSeNecessario();
    tutorial.defineComando(dados::kSqlPaginasTutorial, {regras::Valor(AssuntoAtual.str())});
    tutorial.first();
    if (tutorial.isEmpty()) {
        // The subject's first page, stored when it is posted (at the latest at close).
        tutorial.append();
        tutorial.fieldByName("ASSUNTO").defineValor(AssuntoAtual.str());
        tutorial.fieldByName("PAGINA").defineValor(std::int32_t{1});
        DBRichEdit1->setFocus(Qt::OtherFocusReason);
    }
    ajustaBotoes();
    tutorial.edit();
}

void Form2::FormClose() {
    auto& tutorial = dm_->Tutorial;
    if (tutorial.active()) {
        std::optional<std::string> falha;
        try {
            tutorial.post();
            // A refused row stays in the log, so anything still pending was not
            // stored, whether refused now or by an earlier change of this window.
            if (tutorial.changeCount() > 0) falha = dm_->recusaTutorial();
        } catch (const plataforma::Abortado&) {
        } catch (const std::exception& e) {
            falha = e.what();
        }
        // The window closes anyway, but the user learns the text is lost.
        if (falha) plataforma::mostraMensagem(ajuda::mensagemPaginaNaoGravada(*falha), plataforma::TipoMensagem::Erro);
    }
    const QRect area = geometry();
    plataforma::gravaLinhas(plataforma::caminhoSuite(ajuda::kArquivoPosicao),
                            ajuda::linhasPosicao({area.y(), area.x(), area.height(), area.width()}));
    dm_->fechaTutorial();
}

void Form2::FormResize() {
    if (!DBRichEdit1) return;
    const ajuda::Layout l = ajuda::layoutTutorial(height(), width());
    DBRichEdit1->resize(l.larguraTexto, l.alturaTexto);
    DBEdit1->resize(l.larguraTitulo, DBEdit1->height());
    BitBtn2->setGeometry(kEsquerdaAnterior, l.topoBotoes, l.larguraBotoes, kAlturaBotoes);
    BitBtn1->setGeometry(l.esquerdaProxima, l.topoBotoes, l.larguraBotoes, kAlturaBotoes);
}

void Form2::DBRichEdit1Change() {
    // The length as stored, line breaks (CR LF) included.
    const auto tamanho = DBRichEdit1->texto().size();
    DBRichEdit1->setToolTip(QString::number(tamanho));
    if (tamanho <= static_cast<std::size_t>(ajuda::kLimitePagina)) {
        Aviso->hide();
        return;
    }
    plataforma::bipe();
    Aviso->raise();
    Aviso->show();
}

void Form2::Incluirnovapgina1Click() {
    auto& tutorial = dm_->Tutorial;
    if (!tutorial.active()) return;
    // The page in hand is stored before the highest number is read: a new
    // subject's first page, not stored yet, would otherwise be numbered again.
    encerraEdicao();
    auto& consulta = dm_->SQLQueryTutorial;
    consulta.close();
    consulta.sql = dados::kSqlUltimaPaginaTutorial;
    consulta.parametros = {regras::Valor(AssuntoAtual.str())};
    consulta.open();
    const regras::Valor maximo = consulta.resultado.linhas.empty() || consulta.resultado.linhas[0].empty()
                                    ? regras::Valor{}
                                    : consulta.resultado.linhas[0][0];
    tutorial.append();
    tutorial.fieldByName("ASSUNTO").defineValor(AssuntoAtual.str());
    tutorial.fieldByName("PAGINA").defineValor(std::int32_t{proximaPagina(maximo)});
    tutorial.post();
    consulta.close();
    DBRichEdit1->setFocus(Qt::OtherFocusReason);
    ajustaBotoes();
}

void Form2::Excluirpginacorrente1Click() {
    auto& tutorial = dm_->Tutorial;
    if (!tutorial.active() || tutorial.isEmpty()) return;
    tutorial.remove();  // a page not stored yet is only discarded
    ajustaBotoes();
}

// A move ends the edit the way the dataset does: a changed page is posted.
void Form2::BitBtn1Click() {
    if (dm_->Tutorial.active()) dm_->Tutorial.next();
}

void Form2::BitBtn2Click() {
    if (dm_->Tutorial.active()) dm_->Tutorial.prior();
}

int Form2::paginasGravadas() const {
    const auto& tutorial = dm_->Tutorial;
    if (!tutorial.active()) return 0;
    return tutorial.recordCount() - (tutorial.state() == Estado::Inserindo ? 1 : 0);
}

void Form2::ajustaBotoes() {
    const bool varias = paginasGravadas() >= 2;
    BitBtn1->setEnabled(varias);
    BitBtn2->setEnabled(varias);
    // With every page deleted there is nothing to write on until a page is added.
    DBRichEdit1->setReadOnly(dm_->Tutorial.active() && dm_->Tutorial.isEmpty());
}

void Form2::encerraEdicao() {
    auto& tutorial = dm_->Tutorial;
    if (tutorial.state() != Estado::Editando && tutorial.state() != Estado::Inserindo) return;
    DBRichEdit1->gravaNoCampo();
    if (tutorial.modificado())
        tutorial.post();
    else
        tutorial.cancel();
}
