#pragma once
// The baseline of the benchmarks: the same database work done straight through
// the server's OO API with as little code as possible. Rows stay as the
// server's message buffers, laid end to end in plain arrays of about 64 KB
// each: nothing is copied or cleared as the rows come in, and arrays that small
// come from the heap's free memory rather than from fresh pages of the system.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace base {

// A value bound to a '?' marker, written in the type the statement describes.
struct Parametro {
    enum class Tipo { Nulo, Texto, Escalado } tipo = Tipo::Nulo;
    std::string texto;
    std::int64_t unidades = 0;  // Escalado: the value × 10^escala of the column

    static Parametro nulo() { return {}; }
    static Parametro de(std::string t) { return {Tipo::Texto, std::move(t), 0}; }
    static Parametro escalado(std::int64_t u) { return {Tipo::Escalado, {}, u}; }
};

struct Linhas {
    unsigned largura = 0;      // bytes of one row's message
    std::size_t porBloco = 1;  // rows in one array
    std::size_t quantas = 0;
    std::vector<std::unique_ptr<unsigned char[]>> blocos;
    unsigned char* linha(std::size_t i) const { return blocos[i / porBloco].get() + (i % porBloco) * largura; }
    // Where the first column's value and null flag sit in each row (for the
    // code scan of a one-column select).
    unsigned deslocamento0 = 0, nulo0 = 0;
    // Every column's place and type, for a table that shows the rows.
    struct Coluna {
        std::string nome;
        unsigned tipo, deslocamento, nulo, tamanho;
        int escala;
    };
    std::vector<Coluna> colunas;
};

class Cliente {
public:
    Cliente();  // loads libfbclient.so.2 with its own dlopen
    ~Cliente();
    Cliente(const Cliente&) = delete;
    Cliente& operator=(const Cliente&) = delete;

    void conecta(const std::string& banco);
    void desconecta();
    // Drops the database this client is attached to.
    void apagaBanco();

    Linhas seleciona(const std::string& sql, const std::vector<Parametro>& p = {});
    void executa(const std::string& sql, const std::vector<Parametro>& p = {});

private:
    struct Impl;
    Impl* impl_;
};

// The greatest code that is a whole number in a select of CODIGO, as the
// program computes the next code.
long long maiorCodigo(const Linhas& codigos);

}  // namespace base
