#include "bench/base.h"

#include <firebird/Interface.h>

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <stdexcept>

namespace base {

using namespace Firebird;

struct Cliente::Impl {
    IMaster* master = nullptr;
    IUtil* util = nullptr;
    IProvider* provedor = nullptr;
    IAttachment* att = nullptr;
    std::vector<unsigned char> tpb;

    // Every call goes through here so that the server's message reaches the caller.
    template <class F>
    auto chama(F&& f) {
        ThrowStatusWrapper st(master->getStatus());
        try {
            if constexpr (std::is_void_v<decltype(f(st))>) {
                f(st);
                st.dispose();
            } else {
                auto r = f(st);
                st.dispose();
                return r;
            }
        } catch (const FbException& e) {
            char texto[1024];
            util->formatStatus(texto, sizeof texto, e.getStatus());
            st.dispose();
            throw std::runtime_error(texto);
        }
    }

    // The described input message filled with the values.
    void entrada(ThrowStatusWrapper& st, IStatement* stmt, const std::vector<Parametro>& p,
                 IMessageMetadata*& meta, std::vector<unsigned char>& buf) {
        meta = stmt->getInputMetadata(&st);
        buf.assign(meta->getMessageLength(&st), 0);
        for (unsigned i = 0; i < p.size(); ++i) {
            unsigned char* v = buf.data() + meta->getOffset(&st, i);
            short nulo = 0;
            switch (p[i].tipo) {
            case Parametro::Tipo::Nulo: nulo = -1; break;
            case Parametro::Tipo::Texto: {
                const auto n = static_cast<ISC_USHORT>(p[i].texto.size());
                if ((meta->getType(&st, i) & ~1u) != SQL_VARYING || n > meta->getLength(&st, i))
                    throw std::runtime_error("baseline: parameter " + std::to_string(i) + " is no such text");
                std::memcpy(v, &n, sizeof n);
                std::memcpy(v + sizeof n, p[i].texto.data(), n);
                break;
            }
            case Parametro::Tipo::Escalado:
                if ((meta->getType(&st, i) & ~1u) != SQL_INT64)
                    throw std::runtime_error("baseline: parameter " + std::to_string(i) + " is no scaled number");
                std::memcpy(v, &p[i].unidades, sizeof(ISC_INT64));
                break;
            }
            std::memcpy(buf.data() + meta->getNullOffset(&st, i), &nulo, sizeof nulo);
        }
    }
};

Cliente::Cliente() : impl_(new Impl) {
    void* h = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!h) throw std::runtime_error(dlerror());
    auto f = reinterpret_cast<IMaster* (*)()>(dlsym(h, "fb_get_master_interface"));
    impl_->master = f();
    impl_->util = impl_->master->getUtilInterface();
    impl_->provedor = impl_->master->getDispatcher();
    // The transaction the program uses: read committed, waiting on locks up to 30 s.
    impl_->tpb = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_wait,
                  isc_tpb_lock_timeout, 4, 30, 0, 0, 0};
}

Cliente::~Cliente() {
    desconecta();
    delete impl_;
}

void Cliente::conecta(const std::string& banco) {
    impl_->att = impl_->chama([&](ThrowStatusWrapper& st) {
        IXpbBuilder* dpb = impl_->util->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&st, isc_dpb_user_name, "sysdba");
        dpb->insertString(&st, isc_dpb_password, "tallowpin");
        dpb->insertString(&st, isc_dpb_sql_role_name, "RoleName");
        dpb->insertString(&st, isc_dpb_lc_ctype, "WIN1252");
        dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
        IAttachment* a = impl_->provedor->attachDatabase(&st, banco.c_str(), dpb->getBufferLength(&st),
                                                         dpb->getBuffer(&st));
        dpb->dispose();
        return a;
    });
}

void Cliente::desconecta() {
    if (!impl_->att) return;
    impl_->chama([&](ThrowStatusWrapper& st) { impl_->att->detach(&st); });
    impl_->att = nullptr;
}

void Cliente::apagaBanco() {
    impl_->chama([&](ThrowStatusWrapper& st) { impl_->att->dropDatabase(&st); });
    impl_->att = nullptr;
}

Linhas Cliente::seleciona(const std::string& sql, const std::vector<Parametro>& p) {
    return impl_->chama([&](ThrowStatusWrapper& st) {
        ITransaction* tra = impl_->att->startTransaction(&st, static_cast<unsigned>(impl_->tpb.size()),
                                                         impl_->tpb.data());
        IStatement* stmt = impl_->att->prepare(&st, tra, 0, sql.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA);
        IMessageMetadata* entrada = nullptr;
        std::vector<unsigned char> bufEntrada;
        impl_->entrada(st, stmt, p, entrada, bufEntrada);
        IMessageMetadata* saida = stmt->getOutputMetadata(&st);
        Linhas r;
        r.largura = saida->getMessageLength(&st);
        r.porBloco = std::max<std::size_t>(1, 65536 / r.largura);
        r.deslocamento0 = saida->getOffset(&st, 0);
        r.nulo0 = saida->getNullOffset(&st, 0);
        for (unsigned i = 0; i < saida->getCount(&st); ++i)
            r.colunas.push_back({saida->getAlias(&st, i), saida->getType(&st, i) & ~1u, saida->getOffset(&st, i),
                                 saida->getNullOffset(&st, i), saida->getLength(&st, i), saida->getScale(&st, i)});
        IResultSet* rs = stmt->openCursor(&st, tra, entrada, bufEntrada.data(), saida, 0);
        for (;;) {
            if (r.quantas % r.porBloco == 0) r.blocos.emplace_back(new unsigned char[r.porBloco * r.largura]);
            if (rs->fetchNext(&st, r.linha(r.quantas)) != IStatus::RESULT_OK) break;
            ++r.quantas;
        }
        rs->close(&st);
        stmt->free(&st);
        saida->release();
        entrada->release();
        tra->commit(&st);
        return r;
    });
}

void Cliente::executa(const std::string& sql, const std::vector<Parametro>& p) {
    impl_->chama([&](ThrowStatusWrapper& st) {
        ITransaction* tra = impl_->att->startTransaction(&st, static_cast<unsigned>(impl_->tpb.size()),
                                                         impl_->tpb.data());
        IStatement* stmt = impl_->att->prepare(&st, tra, 0, sql.c_str(), 3, 0);
        IMessageMetadata* entrada = nullptr;
        std::vector<unsigned char> bufEntrada;
        impl_->entrada(st, stmt, p, entrada, bufEntrada);
        stmt->execute(&st, tra, entrada, bufEntrada.data(), nullptr, nullptr);
        stmt->free(&st);
        entrada->release();
        tra->commit(&st);
    });
}

long long maiorCodigo(const Linhas& codigos) {
    long long maior = 0;
    for (std::size_t l = 0; l < codigos.quantas; ++l) {
        const unsigned char* linha = codigos.linha(l);
        short nulo;
        std::memcpy(&nulo, linha + codigos.nulo0, sizeof nulo);
        if (nulo) continue;
        ISC_USHORT n;
        std::memcpy(&n, linha + codigos.deslocamento0, sizeof n);
        const char* t = reinterpret_cast<const char*>(linha + codigos.deslocamento0 + sizeof n);
        std::size_t a = 0, b = n;
        while (a < b && t[a] == ' ') ++a;
        while (b > a && t[b - 1] == ' ') --b;
        if (a == b || b - a > 17) continue;
        long long v = 0;
        bool inteiro = true;
        for (std::size_t i = a; i < b && inteiro; ++i) {
            inteiro = t[i] >= '0' && t[i] <= '9';
            v = v * 10 + (t[i] - '0');
        }
        if (inteiro && v > maior) maior = v;
    }
    return maior;
}

}  // namespace base
