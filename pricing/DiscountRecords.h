#pragma once

#include "Currency.h"

#include <cstdint>
#include <string>
#include <vector>

namespace precivox {

// Where the rule of an evaluation was found.
enum TOrigemRegra : uint8_t { orGrupo = 0, orProduto = 1, orSemRegra = 2 };

// The kinds of discount candidate; tdEscolhido is the holder of the chosen one.
enum TTipoDesconto : uint8_t {
    tdPromocao = 0,
    tdQuantidade = 1,
    tdAVista = 2,
    tdAutomatico = 3,
    tdEscolhido = 4
};

// The result of one evaluation. Percentages are currencies too: 5 % is 5.0000.
struct TRegraDesconto {
    int32_t ProdutoId = 0;
    Currency Acrescimo;
    Currency ValorDesconto;
    Currency PercDesconto;
    Currency DescontoMaximo;
    Currency PrecoBase;
    Currency PrecoFinal;
    Currency Preco1;
    std::string Mensagem; // lines separated by CR LF
    int32_t NivelPreco = 0;
    bool EmPromocao = false;
    bool BloqueiaDesc = false;
    bool PermitePromocao = false;
    bool PermiteDescQtde = false;
    bool PermiteDescAVista = false;
    bool PraticaMenorPreco = false;
    TOrigemRegra Origem = orGrupo;
    bool QtdeAlterada = false;
    int32_t Quantidade = 0;
};

// One discount candidate.
struct TDesconto {
    Currency Percentual;
    Currency Preco;
    bool Aplica = false;
    std::string Texto;
    int32_t Quantidade = 0;
    TTipoDesconto Tipo = tdPromocao;
};

using TADesconto = std::vector<TDesconto>;

} // namespace precivox
