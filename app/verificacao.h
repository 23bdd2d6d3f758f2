#pragma once
// The support check (capsulas --check): everything a normal start of this
// workstation needs, one finding a line with what to do about it. It goes on
// past every failure it can go past.
//
// Each check is a function of the same shape, run in order by
// verificaInstalacao; a new check is one more function and one more call there.
// The context carries what the earlier checks found (the settings read, the
// client library, the open connection to the suite database).
#include "data/catalogo.h"
#include "data/conexao.h"
#include "data/fbclient.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace verificacao {

enum class Nivel {
    Ok,
    Aviso,  // worth knowing, the program starts
    Falha,  // a normal start, or its use, would fail
};

struct Achado {
    Nivel nivel;
    std::string assunto;  // what was looked at: "BRENVITA.INI", "Servidor"...
    std::string texto;    // what was found and, unless OK, what to do (Windows-1252)
};

// The findings; each one is printed on `saida` (UTF-8) as it comes, so a slow
// server shows where the check waits.
class Relatorio {
public:
    explicit Relatorio(std::FILE* saida = nullptr) : saida_(saida) {}
    void ok(const std::string& assunto, const std::string& texto) { anota(Nivel::Ok, assunto, texto); }
    void aviso(const std::string& assunto, const std::string& texto) { anota(Nivel::Aviso, assunto, texto); }
    void falha(const std::string& assunto, const std::string& texto) { anota(Nivel::Falha, assunto, texto); }
    void anota(Nivel nivel, const std::string& assunto, const std::string& texto);

    const std::vector<Achado>& achados() const { return achados_; }
    bool aprovado() const;  // no failure

private:
    std::FILE* saida_;
    std::vector<Achado> achados_;
};

struct Contexto {
    bool configuracoesLidas = false;
    std::string biblioteca;   // the client library chosen by CaminhoGDS.txt
    bool bibliotecaCarregada = false;
    std::string servidor;     // the server's address, when usable
    std::string banco = std::string(dados::kCaminhoBancoSuite).substr(1);  // its name (alias) on the server
    dados::fb::ParametrosConexao parametros;     // as the program connects
    dados::OrigemLogin login = dados::OrigemLogin::Programa;  // where its user and password came from
    std::unique_ptr<dados::fb::Conexao> suite;   // open once the server took the connection
};

using Verificacao = void (*)(Contexto&, Relatorio&);

void verificaVersao(Contexto&, Relatorio&);
void verificaConfiguracoes(Contexto&, Relatorio&);      // BRENVITA.INI: present, readable, its lines
void verificaEnderecoServidor(Contexto&, Relatorio&);   // IP DO SERVIDOR CENTRAL
void verificaBibliotecaCliente(Contexto&, Relatorio&);  // CaminhoGDS.txt and the library it names
void verificaLogin(Contexto&, Relatorio&);              // ISC_USER and ISC_PASSWORD, or the program's pair
void verificaServidor(Contexto&, Relatorio&);           // the connection to the suite database
void verificaPrivilegios(Contexto&, Relatorio&);        // what the program does, tried on no row
void verificaSenhaDoPrograma(Contexto&, Relatorio&);    // whether the server takes the program's SYSDBA password
void verificaIndices(Contexto&, Relatorio&);          // the indexes recommended for the suite
void verificaPastaSuite(Contexto&, Relatorio&);         // the folder and the files written in it
void verificaModoMotor(Contexto&, Relatorio&);        // whether several programs share TUTORIAL.BD
void verificaTutorial(Contexto&, Relatorio&);           // TUTORIAL.BD, opened embedded
void verificaSaltaCad(Contexto&, Relatorio&);           // the login-skipping marker

// Every check above, in order.
Relatorio verificaInstalacao(std::FILE* saida);

}  // namespace verificacao
