// The capsule's colour: the colour list, the check of the description and the
// "<- Usar esta cor" button, and the hint picture that points at the list.
#include "app/formpellora.h"

#include "form/widgets/aparencia.h"
#include "app/filtroeventos.h"
#include "data/dm.h"
#include "rules/cores.h"
#include "form/widgets/dbedit.h"
#include "platform/text.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

using namespace plataforma::literais;

using plataforma::deQString;
using plataforma::paraQString;

namespace {

// A rounded blue-grey callout whose arrow points up at the colour list, with
// white bold text.
QPixmap imagemDica(QSize tamanho) {
    const QColor azulAcinzentado(84, 110, 122);
    const int seta = 18;  // height of the arrow above the body
    const QRectF corpo(1, seta, tamanho.width() - 2, tamanho.height() - seta - 1);
    // The list sits above the picture's left half (430 to 582 against 423).
    const qreal ponta = 83;

    QPainterPath caminho;
    caminho.addRoundedRect(corpo, 14, 14);
    QPainterPath flecha;
    flecha.moveTo(ponta - 14, seta + 1);
    flecha.lineTo(ponta, 1);
    flecha.lineTo(ponta + 14, seta + 1);
    flecha.closeSubpath();
    caminho = caminho.united(flecha);

    QPixmap imagem(tamanho);
    imagem.fill(Qt::transparent);
    QPainter p(&imagem);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(azulAcinzentado.darker(130), 1.5));
    p.setBrush(azulAcinzentado);
    p.drawPath(caminho);
    p.setPen(Qt::white);
    p.setFont(aparencia::arial(15, true));
    p.drawText(corpo.adjusted(14, 8, -14, -8), Qt::AlignCenter | Qt::TextWordWrap,
               paraQString("Selecione, no campo acima, uma das cores cadastradas na tabela de cores das "
                           "cápsulas."_w));
    return imagem;
}

}  // namespace

void FormPellora::desenhaImagem1() {
    Imagem1->setPixmap(imagemDica(Imagem1->size()));
    // A press anywhere on the list (its arrow or its text) hides the picture,
    // not only the choice of an entry.
    for (QObject* alvo : {static_cast<QObject*>(ComboBox1), static_cast<QObject*>(ComboBox1->lineEdit())})
        aparencia::filtraEventos(alvo, [this](QEvent* e) {
            if (e->type() == QEvent::MouseButtonPress) ComboBox1Click();
            return false;
        });
}

void FormPellora::CarregaCores() {
    if (!dm_) return;
    const std::vector<std::string> cores = dm_->cores();  // a failing query leaves the entries as they were

    // The colour shown stays shown across reloads (every activation reloads);
    // on the first load the first colour is shown.
    const QString mostrada = ComboBox1->currentText();
    ComboBox1->clear();
    for (const auto& cor : cores) ComboBox1->addItem(paraQString(cor));
    if (!mostrada.isEmpty()) {
        const int i = ComboBox1->findText(mostrada, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i >= 0)
            ComboBox1->setCurrentIndex(i);
        else
            ComboBox1->setEditText(mostrada);
    }
}

bool FormPellora::CorDescricaoInvalida() {
    std::vector<std::string> cores;
    cores.reserve(static_cast<std::size_t>(ComboBox1->count()));
    for (int i = 0; i < ComboBox1->count(); ++i) cores.push_back(deQString(ComboBox1->itemText(i)));
    return regras::corDescricaoInvalida(textoDescricao(), cores);
}

std::string FormPellora::RemoveCorDescricao() { return regras::removeCorDescricao(textoDescricao()); }

void FormPellora::Label1Click() { CarregaCores(); }
void FormPellora::ComboBox1Click() { escondeImagem1(); }
void FormPellora::Imagem1Click() { escondeImagem1(); }
void FormPellora::escondeImagem1() { Imagem1->hide(); }

void FormPellora::BitBtn1Click() {
    escondeImagem1();
    const std::string descricao = textoDescricao();
    auto& ds = dm_->Componentes;
    ds.edit();
    focaDescricao();
    DBEdit1->setText(paraQString(regras::descricaoComCor(descricao, deQString(ComboBox1->currentText()))));
    // The post normalises the description and writes the capsule to the database.
    ds.post();
    ds.edit();
    focaDescricao();
}
