#!/usr/bin/env bash
# Loads schema.sql and sample-store.sql into a fresh database on the test server, checks
# that accented text is stored as latin1 and that demo barcodes price as the file lists.
# usage: sample_store_loads.sh SQL_DIR   (env PRECIVOX_TEST_DB_HOST/PORT/PASSWORD)
set -euo pipefail
sql_dir=$1
db="precivox_sample_$$"
client=(mariadb --no-defaults -h"${PRECIVOX_TEST_DB_HOST:?}" -P"${PRECIVOX_TEST_DB_PORT:?}"
    -uroot -p"${PRECIVOX_TEST_DB_PASSWORD:?}")

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
q() { "${client[@]}" --default-character-set=utf8mb4 -N -B "$db" -e "$1"; }
expect() { # what, sql, expected output
    local got
    got=$(q "$2") || fail "$1: query failed"
    [ "$got" = "$3" ] || fail "$1: expected '$3', got '$got'"
}

"${client[@]}" -e "CREATE DATABASE $db" || fail "cannot create database $db"
trap '"${client[@]}" -e "DROP DATABASE IF EXISTS $db"' EXIT
"${client[@]}" "$db" <"$sql_dir/schema.sql" || fail "schema.sql does not load"
"${client[@]}" "$db" <"$sql_dir/sample-store.sql" || fail "sample-store.sql does not load"

for table in produto barras precosfilial grupo filial tabela_desconto empresa_tab_desconto \
    prod_tabela_desconto grupo_tabela_desconto formapgto_tipospgto tipospgto formapgto descqtde; do
    expect "rows in $table" "SELECT COUNT(*) > 0 FROM $table" 1
done
expect "product count" "SELECT COUNT(*) BETWEEN 300 AND 400 FROM produto" 1
expect "branches" "SELECT GROUP_CONCAT(filial_id, desc_promo ORDER BY filial_id) FROM filial" "1S,2N"

# EAN-13 with the Brazilian prefix and a right check digit, for own and additional barcodes.
weighted=""
for i in $(seq 1 12); do weighted+="+$(((i % 2) ? 1 : 3))*SUBSTR(b,$i,1)"; done
expect "barcodes are EAN-13 789" "SELECT COUNT(*) FROM (SELECT barras b FROM produto
    UNION ALL SELECT barras FROM barras) codes WHERE b NOT REGEXP '^789[0-9]{10}\$'
    OR (10 - ($weighted) % 10) % 10 <> SUBSTR(b,13,1)" 0

# Ã is C3 and Ç is C7 in latin1: a double-encoded load would show C383 and C387 instead.
expect "latin1 FEIJÃO" "SELECT HEX(LEFT(descricao,6)) FROM produto WHERE barras = '7891317519407'" 4645494AC34F
expect "latin1 AÇÚCAR" "SELECT HEX(LEFT(descricao,6)) FROM produto WHERE barras = '7891317756970'" 41C7DA434152

expect "default table of branch 1" \
    'select tabela_desconto_id from empresa_tab_desconto where empresa_id = 0 and filial_id = 1 and padrao = "S"' 1

# The plain path: identify the product, then its branch-1 price with a current promotion or
# the cash discount applied, shown as the terminal shows it.
plain_answer() {
    local b=$1 pid price
    pid=$(q "select produto_id from produto where apagado <> \"S\" and tipo <> \"I\" and barras = \"$b\"") || return 1
    if [ -z "$pid" ]; then
        pid=$(q "select produto_id from barras where apagado <> \"S\" and barras = \"$b\"") || return 1
    fi
    [ -n "$pid" ] || { echo "not found" && return 0; }
    price=$(q "SELECT TRIM(LEFT(descricao, 20)), FORMAT(CASE
          WHEN (dtiniciopromocao IS NULL OR NOW() > dtiniciopromocao) AND NOW() < valid_pro
               AND precopromocao > 0 THEN precopromocao
          WHEN descproduto > 0 THEN precoproduto - (descproduto * precoproduto) / 100
          ELSE precoproduto END, 2, 'pt_BR')
       FROM ( Select produto.produto_id, produto.barras, produto.descricao,
         if(precosfilial.preco_promo > 0, precosfilial.preco_promo, produto.preco_pro) as precopromocao,
         if(precosfilial.preco > 0, precosfilial.preco, produto.preco_vnd) as precoproduto,
         if(precosfilial.desc_vista > 0, precosfilial.desc_vista, produto.desconto) as descproduto,
         produto.dtiniciopromocao, produto.valid_pro
         from produto
         left join precosfilial on (precosfilial.filial_id = 1 and precosfilial.produto_id = produto.produto_id and precosfilial.apagado <> \"S\")
         where (produto.produto_id = ${pid%%$'\n'*})
         and produto.tipo <> \"I\" and produto.apagado <> \"S\"
         order by produto.descricao LIMIT 1) price") || return 1
    price=${price//$'\t'/|}
    echo "${price:-not found}"
}

while IFS='|' read -r barcode expected; do
    got=$(plain_answer "$barcode") || fail "$barcode: query failed"
    [ "$got" = "$expected" ] || fail "$barcode: expected '$expected', got '$got'"
done <<'EOF_DEMO'
7891317202644|ARROZ TIPO 1 5KG|22,50
7891317519407|FEIJÃO CARIOCA 1KG|8,49
7891317756970|AÇÚCAR REFINADO 1KG|4,99
7891317152925|ÓLEO DE SOJA 900ML|7,49
7891317419967|MOLHO DE TOMATE 340G|2,79
7891317499150|EXTRATO DE TOMATE 19|2,99
7891317003760|GELATINA UVA 35G|1,49
7894487979897|BISCOITO CREAM CRACK|4,99
7892585318716|SABÃO EM PÓ 2KG|22,41
7892268943013|CREME DENTAL 90G|4,74
7898001052844|LEITE UHT INTEGRAL 1|5,29
7891317024017|MACARRÃO ESPAGUETE 5|4,79
7896072948615|PANETONE FRUTAS 400G|19,90
7896389344568|not found
7894487900709|not found
7898004194718|not found
7898003147425|not found
7895555123457|not found
EOF_DEMO
echo "sample store loads and prices as listed"
