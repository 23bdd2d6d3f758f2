#include "data/conexao.h"

#include "settings/settings.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"

#include <cstdlib>
#include <optional>

using namespace plataforma::literais;

namespace dados {

std::string localBancoSuite(const std::string& ip) { return ip + kCaminhoBancoSuite; }

std::string pastaClienteDoArquivo(const std::vector<std::string>* linhas) {
    if (!linhas || linhas->empty()) return {};
    std::string pasta = plataforma::corta((*linhas)[0], 100);
    if (pasta.empty()) return pasta;
#ifdef _WIN32
    const char sep = '\\';
#else
    const char sep = '/';
#endif
    if (pasta.back() != sep && pasta.back() != '\\' && pasta.size() < 100) pasta += sep;
    return pasta;
}

std::string bibliotecaClienteSuite() {
    const std::string caminhoGds = plataforma::caminhoSuite("CaminhoGDS.txt");
    std::optional<std::vector<std::string>> linhas;
    if (plataforma::arquivoExiste(caminhoGds)) linhas = plataforma::leLinhas(caminhoGds);
    return fb::nomeBibliotecaCliente(pastaClienteDoArquivo(linhas ? &*linhas : nullptr));
}

OrigemLogin aplicaLoginDoAmbiente(fb::ParametrosConexao& p) {
    auto variavel = [](const char* nome) {
        const char* v = std::getenv(nome);
        return v ? std::string(v) : std::string();
    };
    const std::string usuario = variavel("ISC_USER"), senha = variavel("ISC_PASSWORD");
    if (usuario.empty()) return senha.empty() ? OrigemLogin::Programa : OrigemLogin::SoSenha;
    if (senha.empty()) return OrigemLogin::SoUsuario;
    p.usuario = usuario;
    p.senha = senha;
    return OrigemLogin::Ambiente;
}

std::string mensagemFalhaConexao(const std::string& ip, const std::string& classe, const std::string& erro) {
    return "Não foi possível fazer a conexão com o servidor.\r\nCertique que o \"Ip: "_w + ip +
           "\" informado  no arquivo de configuração BRENVITA.INI está correto."_w + "\r\r\n" +
           "Classe: " + classe + "\r" + "Erro: " + erro;
}

namespace {

void preparaConexaoPrincipal(fb::Conexao& conexao) {
    conexao.defineBiblioteca(bibliotecaClienteSuite());
    conexao.fecha();
    conexao.defineBanco(localBancoSuite(IpServidorCentral.str()));
    aplicaLoginDoAmbiente(conexao.parametros());
}

// Runs the opening; a failure shows the connection message and ends the program.
template <class F>
void abreOuEncerra(F&& abre) {
    std::string classe, mensagem;
    try {
        abre();
        return;
    } catch (const plataforma::Erro& e) {
        classe = e.classe();
        mensagem = e.what();
    } catch (const std::exception& e) {
        classe = "Exception";
        mensagem = e.what();
    }
    plataforma::mostraMensagem(mensagemFalhaConexao(IpServidorCentral.str(), classe, mensagem),
                               plataforma::TipoMensagem::Erro);
    plataforma::encerraPrograma(1);
}

}  // namespace

void abreConexaoPrincipal(fb::Conexao& conexao) {
    preparaConexaoPrincipal(conexao);
    abreOuEncerra([&] { conexao.abre(); });
}

std::future<void> comecaConexaoPrincipal(fb::Conexao& conexao) {
    preparaConexaoPrincipal(conexao);
    return std::async(std::launch::async, [&conexao] { conexao.abre(); });
}

void concluiConexaoPrincipal(std::future<void>& abertura) {
    abreOuEncerra([&] { abertura.get(); });
}

}  // namespace dados
