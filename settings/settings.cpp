#include "settings/settings.h"

#include "platform/files.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "settings/cores.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unordered_map>
#include "platform/text.h"

using namespace plataforma::literais;

ShortString<60> IpServidorCentral;
std::int32_t CorFundoTelas = kCorFaceBotao;
ShortString<30> UsarFCPrecoVenda;
ShortString<30> UsarFatDiluicaoPreco;
ShortString<30> TempoLogoff;
std::string CaminhoBackupManual;

namespace configuracoes {
namespace {

// Numbers of the settings held in their own variables.
constexpr int kIpServidorCentral = 1;
constexpr int kCaminhoBackupManual = 5;
constexpr int kCorFundoTelas = 6;
constexpr int kUsarFCPrecoVenda = 12;
constexpr int kUsarFatDiluicaoPreco = 63;
constexpr int kTempoLogoff = 69;

// Unless noted otherwise, a setting is text of capacity 30.
constexpr std::array<Definicao, kQuantidade> kDefinicoes = {{
    /*   1 */ {"IP DO SERVIDOR CENTRAL.........................:", Tipo::Texto, 60, "IpServidorCentral"},
    /*   2 */ {"IP DA ESTACAO DO USUARIO.......................:", Tipo::Texto, 40, ""},
    /*   3 */ {"IP DO BACKUP DO BD LOCAL (BKPPED)..............:", Tipo::Texto, 40, ""},
    /*   4 */ {"IP DO BACKUP DO BD CENTRAL.....................:", Tipo::Texto, 40, ""},
    /*   5 */ {"CAMINHO DO BACKUP MANUAL DO BD DO SISTEMA......:", Tipo::Texto, kSemLimite, "CaminhoBackupManual"},
    /*   6 */ {"COR DE FUNDO DAS TELAS.........................:", Tipo::Inteiro, 0, "CorFundoTelas"},
    /*   7 */ {"LOG DE ATIVIDADES..............................:", Tipo::Texto, 3, ""},
    /*   8 */ {"TIT.COL 4 F.FARMACEUTICA..(Preco Min./% Lucro).:", Tipo::Texto, 30, ""},
    /*   9 */ {"PADRAO PRECO MINIMO............................:", Tipo::Texto, 30, ""},
    /*  10 */ {"BOTAO MANIPULACAO EM ABERTO/EFETUADA...........:", Tipo::Texto, 30, ""},
    /*  11 */ {"MODELO DA REQUISICAO...........................:", Tipo::Texto, 30, ""},
    /*  12 */ {"USAR F.C. NO PRECO DE VENDA....................:", Tipo::Texto, 30, "UsarFCPrecoVenda"},
    /*  13 */ {"ATENDENTE OBRIGATORIO..........................:", Tipo::Texto, 30, ""},
    /*  14 */ {"MOSTRAR PRESCRICAO COMPLETA NA REQUISICAO......:", Tipo::Texto, 30, ""},
    /*  15 */ {"MOSTRAR DESCONTO NA REQUISICAO.................:", Tipo::Texto, 30, ""},
    /*  16 */ {"USAR PRECO PADRAO DAS FORMULAS PREDEFINIDAS....:", Tipo::Texto, 30, ""},
    /*  17 */ {"LAGURA DA REQUISICAO (QDE TRACOS)..............:", Tipo::Texto, 30, ""},
    /*  18 */ {"MOSTRAR CONVENIO NA REQUISICAO.................:", Tipo::Texto, 30, ""},
    /*  19 */ {"SALTO FINAL APOS IMPRESSAO DA REQUISICAO.......:", Tipo::Texto, 30, ""},
    /*  20 */ {"LOG ATIVADO....................................:", Tipo::Texto, 30, ""},
    /*  21 */ {"USAR PRECO MINIMO POR FRASCO...................:", Tipo::Texto, 30, ""},
    /*  22 */ {"ARREDONDAMENTO DO PRECO (1, 5, 10, 50, 100)....:", Tipo::Texto, 30, ""},
    /*  23 */ {"MARGEM ESQUERDA DA REQUISICAO..................:", Tipo::Texto, 30, ""},
    /*  24 */ {"MOSTRAR POSOLOGIA NA REQUISICAO................:", Tipo::Texto, 30, ""},
    /*  25 */ {"LARGURA DA OM (QDE TRACOS).....................:", Tipo::Texto, 30, ""},
    /*  26 */ {"MARGEM ESQUERDA DA OM..........................:", Tipo::Texto, 30, ""},
    /*  27 */ {"EMBALAGEM OBRIGATORIA..........................:", Tipo::Texto, 30, ""},
    /*  28 */ {"MOSTRAR VALIDADE NA REQUISICAO.................:", Tipo::Texto, 30, ""},
    /*  29 */ {"FORMATA NOME DO CLIENTE........................:", Tipo::Texto, 30, ""},
    /*  30 */ {"MOSTRAR ENDERECO NA REQUISICAO.................:", Tipo::Texto, 30, ""},
    /*  31 */ {"REQUISICAO EM 1 OU 2 VIAS......................:", Tipo::Texto, 30, ""},
    /*  32 */ {"ALERTAR QUANDO VALIDADE MENOR QUE N (DIAS).....:", Tipo::Texto, 30, ""},
    /*  33 */ {"FORMA DE PAGAMENTO OBRIGATORIA.................:", Tipo::Texto, 30, ""},
    /*  34 */ {"INCLUIR OBSERVACAO NA REQUISICAO...............:", Tipo::Texto, 30, ""},
    /*  35 */ {"QDE DIAS PARA ENTREGA APOS SEXTA FEIRA.........:", Tipo::Texto, 30, ""},
    /*  36 */ {"QDE DIAS PARA ENTREGA APOS SEG A QUI...........:", Tipo::Texto, 30, ""},
    /*  37 */ {"USAR HOMEOPATIA E FLORAIS......................:", Tipo::Texto, 30, ""},
    /*  38 */ {"QDE GOTAS POR ML DO CONTA-GOTAS................:", Tipo::Texto, 30, ""},
    /*  39 */ {"CALCULAR PRECOS HOMEOPATIA PELA QDE DE GOTAS...:", Tipo::Texto, 30, ""},
    /*  40 */ {"HABILITAR BOTAO \"REPETIR PEDIDO\"...............:", Tipo::Texto, 30, ""},
    /*  41 */ {"PARA O PRODUTO MANIPULADO, USAR A VALIDADE.....:", Tipo::Texto, 30, ""},
    /*  42 */ {"USAR NOME FORMULA PRE-DEFIN NA REQ E NO ROTULO.:", Tipo::Texto, 30, ""},
    /*  43 */ {"UNID USADA P/ COMPRIM E GLOBULOS NA HOMEOPATIA.:", Tipo::Texto, 30, ""},
    /*  44 */ {"MOSTRAR MATRICULA NA REQUISICAO................:", Tipo::Texto, 30, ""},
    /*  45 */ {"FORMATO DA VALIDADE DA FORMULA.................:", Tipo::Texto, 30, ""},
    /*  46 */ {"VALOR DA HORA DE MANIPULACAO...................:", Tipo::Texto, 30, ""},
    /*  47 */ {"ROTULO DADO AO CAMPO DE CUSTO DA FORMULA.......:", Tipo::Texto, 30, ""},
    /*  48 */ {"BLOQUEIO DA ALTERACAO DO PEDIDO APOS IMPRESSAO.:", Tipo::Texto, 30, ""},
    /*  49 */ {"IMPRESSAO OBRIGATORIA DA REQUISICAO............:", Tipo::Texto, 30, ""},
    /*  50 */ {"MODELO ALTERNATIVO DE REQUISICAO...............:", Tipo::Texto, 30, ""},
    /*  51 */ {"IMPRIMIR NA REQ. CABECALHO PORTARIA 3492 ART.68:", Tipo::Texto, 30, ""},
    /*  52 */ {"ATUALIZAR DATAS SE FOR ALTER. O TIPO DO PEDIDO.:", Tipo::Texto, 30, ""},
    /*  53 */ {"TEXTO PADRAO DA POSOLOGIA......................:", Tipo::Texto, 30, ""},
    /*  54 */ {"MOSTRAR CAMPO DE CODIGO DE ENTREGA.............:", Tipo::Texto, 30, ""},
    /*  55 */ {"PERMITIR PRODUTO DE REVENDA NA FORMULA.........:", Tipo::Texto, 30, ""},
    /*  56 */ {"MOSTRAR CAMPOS DO CAIXA NA TELA DE PEDIDOS.....:", Tipo::Texto, 30, ""},
    /*  57 */ {"COR PADRAO DAS CAPSULAS........................:", Tipo::Texto, 30, ""},
    /*  58 */ {"TEXTO DO CAMPO DE CONVENIO.....................:", Tipo::Texto, 30, ""},
    /*  59 */ {"VISUALIZAR SITUACOES ESPECIAIS DOS COMPONENTES.:", Tipo::Texto, 30, ""},
    /*  60 */ {"LABORATORIO PADRAO.............................:", Tipo::Texto, 30, ""},
    /*  61 */ {"POSOLOGIA OBRIGATORIA..........................:", Tipo::Texto, 30, ""},
    /*  62 */ {"NOME DO CONVENIO PADRAO........................:", Tipo::Texto, 30, ""},
    /*  63 */ {"USAR FAT. DILUICAO NO CALC. DO PRECO DE VENDA..:", Tipo::Texto, 30, "UsarFatDiluicaoPreco"},
    /*  64 */ {"OBRIGA ESPECIFICAR ROTA NAS ENTREGAS EM DOMIC..:", Tipo::Texto, 30, ""},
    /*  65 */ {"INCLUIR DADOS CLIENTE NA REQ. (ENTR. DOMICILIO):", Tipo::Texto, 30, ""},
    /*  66 */ {"PERMITE FORMULA HOM SEM ESTOQUE DINAM INFERIOR.:", Tipo::Texto, 30, ""},
    /*  67 */ {"ATIVAR MODO DE IMPLANTACAO DO SISTEMA..........:", Tipo::Texto, 30, ""},
    /*  68 */ {"IMPEDE DIGITACAO DO NOME DO ATENDENTE..........:", Tipo::Texto, 30, ""},
    /*  69 */ {"TEMPO PARA LOGOFF AUTOMATICO...................:", Tipo::Texto, 30, "TempoLogoff"},
    /*  70 */ {"USAR REDUCAO FRASCOS PARA DOSE UNICA.(QDEDU)...:", Tipo::Texto, 30, ""},
    /*  71 */ {"EXIBIR BOTAO PLACEBO NA TELA DE HOMEOPATIA.....:", Tipo::Texto, 30, ""},
    /*  72 */ {"LIMITE DE REG MANTIDOS PARA QUIT AUTOMATICA....:", Tipo::Texto, 30, ""},
    /*  73 */ {"UTILIZAR TABELA DE ACRESCIMOS DA HOMEOPATIA....:", Tipo::Texto, 30, ""},
    /*  74 */ {"CALCULAR PRECOS FLORAIS COM BASE NA............:", Tipo::Texto, 30, ""},
    /*  75 */ {"PRECOS HOM COM ASSOCIACOES COM BASE............:", Tipo::Texto, 30, ""},
    /*  76 */ {"COR DAS MENSAGENS DOS COMPONENTES..............:", Tipo::Texto, 30, ""},
    /*  77 */ {"COR USADA NAS MENSAGEM DE SITUACOES ESPECIAIS..:", Tipo::Texto, 30, ""},
    /*  78 */ {"INCLUIR EXCIPIENTES E VEICULOS NOS ROTULOS.....:", Tipo::Texto, 30, ""},
    /*  79 */ {"MOSTRAR PRECO NA OM E NA REQUISICAO............:", Tipo::Texto, 30, ""},
    /*  80 */ {"INCLUIR TEXTO \"PEDIDO\" OU \"ORCAM\" NA REQUISICAO:", Tipo::Texto, 30, ""},
    /*  81 */ {"MASCARA P/ FORMATACAO DO N.PEDIDO NA REQUISICAO:", Tipo::Texto, 30, ""},
    /*  82 */ {"OCULTAR BOTAO \"INSERIR\" NA PESQUISA DE MEDICO..:", Tipo::Texto, 30, ""},
    /*  83 */ {"REPETIR MESMA OBS DA FORMULA AO REPETIR PEDIDO.:", Tipo::Texto, 30, ""},
    /*  84 */ {"IMPEDIR A REIMPRESSAO DA REQUISICAO............:", Tipo::Texto, 30, ""},
    /*  85 */ {"FORMA DE INCLUSAO DA EMBALAGEM DA FORMULA......:", Tipo::Texto, 30, ""},
    /*  86 */ {"PREENCHIMENTO OBRIGATORIO DOS DADOS DO SNGPC...:", Tipo::Texto, 30, ""},
    /*  87 */ {"ECF UTILIZADO..................................:", Tipo::Texto, 30, ""},
    /*  88 */ {"MOSTRAR OS EXCIPIENTES IDENTIFICADOS NA FORMULA:", Tipo::Texto, 30, ""},
    /*  89 */ {"DEFINIR O EXCIPIENTE PELA DOSAGEM..............:", Tipo::Texto, 30, ""},
    /*  90 */ {"VALOR DESC. P/ FLORAIS COM APENAS UMA ESSENCIA.:", Tipo::Texto, 30, ""},
    /*  91 */ {"VAL DESC P/ FLORAIS C/ NO MAXIMO 20% DE BRANDY.:", Tipo::Texto, 30, ""},
    /*  92 */ {"MOSTRAR CAMPO DE SINAL NA TELA DE PEDIDOS......:", Tipo::Texto, 30, ""},
    /*  93 */ {"MOSTRAR NUM. DOCUMENTO DO CLIENTE NA REQUISICAO:", Tipo::Texto, 30, ""},
    /*  94 */ {"OBRIGATORIO NOME/TELEFONE DO CLIENTE NO PEDIDO.:", Tipo::Texto, 30, ""},
    /*  95 */ {"CONSERVANTE ADICION. NAS EMBALAGENS DE CAPSULAS:", Tipo::Texto, 30, ""},
    /*  96 */ {"CAMINHO ARQ TEXTO PARA ECF CHART...............:", Tipo::Texto, 30, ""},
    /*  97 */ {"CAMINHO ARQ TEXTO PARA ECF ATS.................:", Tipo::Texto, 30, ""},
    /*  98 */ {"IP COMPUTADOR QUE GERA COD.SEQ. PARA ECF ATS...:", Tipo::Texto, 30, ""},
    /*  99 */ {"IP COMPUT. QUE GERA COD.SEQ. P/ ECF SOFTPHARMA.:", Tipo::Texto, 30, ""},
    /* 100 */ {"SUBST PR.TOT P/ PR.C/.DESC QDO DESC FOR NEGAT..:", Tipo::Texto, 30, ""},
    /* 101 */ {"VERSAO DO ECF CHART............................:", Tipo::Texto, 30, ""},
    /* 102 */ {"DAV/ECF ATIVO..................................:", Tipo::Texto, 30, ""},
    /* 103 */ {"LIMITE DA QUANTIDADE DIARIA DE FORMULAS........:", Tipo::Texto, 30, ""},
    /* 104 */ {"ORDENAR LIVRO RECEIT. PELO COD. LIVRO..........:", Tipo::Texto, 30, ""},
    /* 105 */ {"QDE PADRAO DE DIAS PARA PESQUISA DE PEDIDOS....:", Tipo::Texto, 30, ""},
    /* 106 */ {"TIPO DE IMPRESSORA DA REQUISICAO...............:", Tipo::Texto, 30, ""},
    /* 107 */ {"DEFINIR EXCIPIENTE PELA PRIORIDADE.............:", Tipo::Texto, 30, ""},
    /* 108 */ {"UTILIZA CREDIARIO..............................:", Tipo::Texto, 30, ""},
    /* 109 */ {"INCLUIR TAXA ENTREGA NO DAV DA ATS.............:", Tipo::Texto, 30, ""},
    /* 110 */ {"OBRIGATORIO INFORMAR PRAZO DURACAO DA FORMULA..:", Tipo::Texto, 30, ""},
    /* 111 */ {"MOSTRAR OBS SOBRE DOSAGEM FORA DA FAIXA NO OM..:", Tipo::Texto, 30, ""},
    /* 112 */ {"ALTURA DA PAGINA DA OM.........................:", Tipo::Texto, 30, ""},
    /* 113 */ {"MARGEM SUPERIOR DA OM..........................:", Tipo::Texto, 30, ""},
    /* 114 */ {"SALTO FINAL APOS IMPRESSAO DA OM...............:", Tipo::Texto, 30, ""},
    /* 115 */ {"MODELO DA OM...................................:", Tipo::Texto, 30, ""},
    /* 116 */ {"FECHAR CAIXA DE DIALOGO APOS IMPRESSAO DA OM...:", Tipo::Texto, 30, ""},
    /* 117 */ {"EM CASO DE DESDOBR, QDE CAPS A INFORMA NA OM...:", Tipo::Texto, 30, ""},
    /* 118 */ {"MOSTRAR NOME DA FORMULA PREDEFINIDA NA OM......:", Tipo::Texto, 30, ""},
    /* 119 */ {"MOSTRAR FICHA TECNICA DO MEDICAMENTO NA OM.....:", Tipo::Texto, 30, ""},
    /* 120 */ {"MOSTRAR O CONVENIO NA OM.......................:", Tipo::Texto, 30, ""},
    /* 121 */ {"MOSTRAR INFORM. MEDICAS DO PACIENTE NA OM......:", Tipo::Texto, 30, ""},
    /* 122 */ {"CONVERTER A UNIDADE ML PARA G NA OM............:", Tipo::Texto, 30, ""},
    /* 123 */ {"MOSTRAR DENSIDADE DO COMPONENTE NA OM..........:", Tipo::Texto, 30, ""},
    /* 124 */ {"DESTACA OBS NA OM..............................:", Tipo::Texto, 30, ""},
    /* 125 */ {"GERA/MOSTRA NA OM LOTES P/ FORM FEITAS EM CONJ.:", Tipo::Texto, 30, ""},
    /* 126 */ {"IMPRIME UM TRACO HORIZONTAL NO FINAL DA OM.....:", Tipo::Texto, 30, ""},
    /* 127 */ {"DEIXA ESPACO P/ PREENCH MAN. DE EXCIP E VEICULO:", Tipo::Texto, 30, ""},
    /* 128 */ {"UTILIZA PARAM DE CONTROLE DE QUALIDADE NA OM...:", Tipo::Texto, 30, ""},
    /* 129 */ {"DETALHAR EXCIPIENTE DA FORMULA NA OM...........:", Tipo::Texto, 30, ""},
    /* 130 */ {"TEXTO REFERENTE A QUANTIDADE REAL A SER PESADA.:", Tipo::Texto, 30, ""},
    /* 131 */ {"VOLUME TOTAL DA FORMULA A SER MOSTRADO NA OM...:", Tipo::Texto, 30, ""},
}};

// The values of the settings without a variable of their own, by number - 1.
std::array<std::string, kQuantidade> g_outras;

int digitoHex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string mensagemInteiroInvalido(const std::string& texto) {
    return "'" + texto + "' não é um valor inteiro válido"_w;
}

void guardaTexto(int numero, const std::string& texto) {
    switch (numero) {
        case kIpServidorCentral: IpServidorCentral = texto; break;
        case kCaminhoBackupManual: CaminhoBackupManual = texto; break;
        case kUsarFCPrecoVenda: UsarFCPrecoVenda = texto; break;
        case kUsarFatDiluicaoPreco: UsarFatDiluicaoPreco = texto; break;
        case kTempoLogoff: TempoLogoff = texto; break;
        default: g_outras[static_cast<std::size_t>(numero - 1)] = texto;
    }
}
}  // namespace

const std::array<Definicao, kQuantidade>& definicoes() { return kDefinicoes; }

int numeroDoRotulo(std::string_view rotulo) {
    static const std::unordered_map<std::string_view, int> indice = [] {
        std::unordered_map<std::string_view, int> m;
        for (int i = 0; i < kQuantidade; ++i) m.emplace(kDefinicoes[static_cast<std::size_t>(i)].rotulo, i + 1);
        return m;
    }();
    const auto it = indice.find(rotulo);
    return it == indice.end() ? 0 : it->second;
}

std::optional<std::int32_t> converteInteiro(std::string_view t) {
    if (!t.empty() && t.front() == '$') {
        const std::string_view hex = t.substr(1);
        if (hex.empty()) return std::nullopt;
        std::uint64_t v = 0;
        for (char c : hex) {
            const int d = digitoHex(c);
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<std::uint64_t>(d);
            if (v > 0xFFFFFFFFu) return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    }
    std::size_t i = 0;
    const bool negativo = !t.empty() && t.front() == '-';
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) ++i;
    if (i == t.size()) return std::nullopt;
    std::int64_t v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return std::nullopt;
        v = v * 10 + (t[i] - '0');
        if (v > 2147483648LL) return std::nullopt;  // keeps v small; the exact bound is below
    }
    if (negativo) v = -v;
    if (v > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(v);
}

Leitura leConfiguracoes(const std::vector<std::string>& linhas) {
    Leitura r;
    for (const std::string& texto : linhas) {
        const std::string_view linha(texto);
        const int numero = numeroDoRotulo(linha.substr(0, kTamanhoRotulo));
        if (numero == 0) continue;
        const std::string valor =
            AparaBrancos(linha.size() > kInicioValor ? linha.substr(kInicioValor, kTamanhoValor)
                                                     : std::string_view());
        const Definicao& d = kDefinicoes[static_cast<std::size_t>(numero - 1)];
        auto& destino = r.valores[static_cast<std::size_t>(numero - 1)];
        if (d.tipo == Tipo::Inteiro) {
            const auto n = converteInteiro(valor);
            if (!n) {
                r.erro = mensagemInteiroInvalido(valor);
                break;
            }
            destino = *n;
        } else {
            destino = plataforma::corta(valor, d.capacidade);
        }
    }
    return r;
}

Leitura leArquivoConfiguracoes(const std::string& caminho) {
    // Nothing past the value's last column matters, so longer lines are cut on reading.
    const auto linhas = plataforma::leLinhas(caminho, kInicioValor + kTamanhoValor);
    if (!linhas) {
        const int motivo = errno;
        Leitura r;
        r.erro = "Erro ao ler o arquivo " + std::filesystem::path(caminho).filename().string() + " (" + caminho +
                 "): " + std::strerror(motivo) + ".";
        return r;
    }
    return leConfiguracoes(*linhas);
}

void guarda(const Leitura& leitura) {
    for (int numero = 1; numero <= kQuantidade; ++numero) {
        const auto& v = leitura.valores[static_cast<std::size_t>(numero - 1)];
        if (!v) continue;
        if (const auto* inteiro = std::get_if<std::int32_t>(&*v))
            CorFundoTelas = *inteiro;  // the only whole-number setting
        else
            guardaTexto(numero, std::get<std::string>(*v));
    }
}

namespace {
// A label as people tell labels apart: capitals, without dots and blanks.
std::string semPontos(std::string_view texto) {
    std::string r;
    for (char c : texto)
        if (c != '.' && c != ' ' && c != '\t') r += c;
    return plataforma::maiusculasAscii(r);
}
}  // namespace

std::optional<Defeito> defeitoDaLinha(std::string_view linha) {
    if (const int numero = numeroDoRotulo(linha.substr(0, kTamanhoRotulo))) {
        const bool valorNoSeparador =
            linha.size() > kTamanhoRotulo && linha[kTamanhoRotulo] != ' ' && linha[kTamanhoRotulo] != '\t';
        if (valorNoSeparador) return Defeito{Defeito::Tipo::ValorNaColuna49, numero};
        return std::nullopt;
    }
    const auto doisPontos = linha.find(':');
    if (doisPontos == std::string_view::npos) return std::nullopt;
    static const std::unordered_map<std::string, int> parecidos = [] {
        std::unordered_map<std::string, int> m;
        for (int i = 0; i < kQuantidade; ++i)
            m.emplace(semPontos(kDefinicoes[static_cast<std::size_t>(i)].rotulo.substr(0, kTamanhoRotulo - 1)), i + 1);
        return m;
    }();
    const auto it = parecidos.find(semPontos(linha.substr(0, doisPontos)));
    if (it == parecidos.end()) return std::nullopt;
    return Defeito{Defeito::Tipo::RotuloParecido, it->second};
}

std::string valor(int numero) {
    switch (numero) {
        case kIpServidorCentral: return IpServidorCentral.str();
        case kCaminhoBackupManual: return CaminhoBackupManual;
        case kCorFundoTelas: return std::to_string(CorFundoTelas);
        case kUsarFCPrecoVenda: return UsarFCPrecoVenda.str();
        case kUsarFatDiluicaoPreco: return UsarFatDiluicaoPreco.str();
        case kTempoLogoff: return TempoLogoff.str();
        default:
            if (numero < 1 || numero > kQuantidade) return {};
            return g_outras[static_cast<std::size_t>(numero - 1)];
    }
}

std::string valor(std::string_view rotulo) {
    const int numero = numeroDoRotulo(rotulo);
    return numero == 0 ? std::string() : valor(numero);
}

void restauraPadroes() {
    IpServidorCentral = "";
    CorFundoTelas = kCorFaceBotao;
    UsarFCPrecoVenda = "";
    UsarFatDiluicaoPreco = "";
    TempoLogoff = "";
    CaminhoBackupManual.clear();
    for (auto& t : g_outras) t.clear();
}

}  // namespace configuracoes

std::string AparaBrancos(std::string_view texto) {
    std::size_t inicio = 0, fim = texto.size();
    while (inicio < fim && texto[inicio] == ' ') ++inicio;
    while (fim > inicio && texto[fim - 1] == ' ') --fim;
    return std::string(texto.substr(inicio, fim - inicio));
}

void LeConfiguracoes() {
    const std::string caminho = plataforma::pastaExecutavel() + "BRENVITA.INI";
    if (!plataforma::arquivoExiste(caminho)) {
        plataforma::mostraMensagem(
            "Arquivo BRENVITA.INI não encontrado. Execute o programa Vorquell.exe para criá-lo."_w);
        plataforma::encerraPrograma(1);
    }
    const configuracoes::Leitura leitura = configuracoes::leArquivoConfiguracoes(caminho);
    configuracoes::guarda(leitura);
    if (leitura.erro) throw plataforma::Erro(*leitura.erro);
}
