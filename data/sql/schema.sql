-- The tables of the store's retail database that the price checker reads, as the store's
-- MySQL/MariaDB server holds them. Run it on an empty database that is already selected.
--
-- Traps for whoever fills these tables:
--  * every statement of the price checker tests apagado <> "S": a NULL apagado hides the
--    row just like "S", so the flags default to 'N' rather than to NULL.
--  * produto.tipo <> "I" is tested the same way: a product with a NULL tipo is never found.
--  * there are no foreign keys: filial_id 0 in empresa_tab_desconto means every branch, and
--    a row pointing nowhere must read as missing, not stop a load.
--  * precosfilial, descqtde and the rule tables may hold duplicates (the first row the
--    server returns wins), so they get a surrogate key and plain, non-unique indexes.

CREATE TABLE grupo (
    grupo_id INT NOT NULL AUTO_INCREMENT,
    descricao VARCHAR(60) NULL,
    apagado CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (grupo_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE produto (
    produto_id INT NOT NULL AUTO_INCREMENT,
    barras VARCHAR(13) NULL,
    descricao VARCHAR(60) NULL,
    tipo CHAR(1) NULL DEFAULT 'P',
    apagado CHAR(1) NULL DEFAULT 'N',
    grupo_id INT NULL,
    preco_vnd DECIMAL(15,4) NULL DEFAULT 0,
    preco2 DECIMAL(15,4) NULL DEFAULT 0,
    preco3 DECIMAL(15,4) NULL DEFAULT 0,
    preco_cmp_un DECIMAL(15,4) NULL DEFAULT 0,
    preco_pro DECIMAL(15,4) NULL DEFAULT 0,
    desconto DECIMAL(15,4) NULL DEFAULT 0,
    dtiniciopromocao DATE NULL,
    valid_pro DATE NULL,
    PRIMARY KEY (produto_id),
    KEY idx_produto_barras (barras),
    KEY idx_produto_grupo (grupo_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE barras (
    barras_id INT NOT NULL AUTO_INCREMENT,
    barras VARCHAR(13) NOT NULL,
    produto_id INT NOT NULL,
    apagado CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (barras_id),
    KEY idx_barras_barras (barras),
    KEY idx_barras_produto (produto_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE filial (
    filial_id INT NOT NULL AUTO_INCREMENT,
    descricao VARCHAR(60) NULL,
    desc_promo CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (filial_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- A branch value overrides the product's only when it is greater than 0: NULL and 0 both
-- leave the product's own value.
CREATE TABLE precosfilial (
    precosfilial_id INT NOT NULL AUTO_INCREMENT,
    filial_id INT NOT NULL,
    produto_id INT NOT NULL,
    preco DECIMAL(15,4) NULL,
    preco2 DECIMAL(15,4) NULL,
    preco3 DECIMAL(15,4) NULL,
    preco_custo DECIMAL(15,4) NULL,
    preco_promo DECIMAL(15,4) NULL,
    desc_vista DECIMAL(15,4) NULL,
    inicio_promocao DATE NULL,
    final_promocao DATE NULL,
    apagado CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (precosfilial_id),
    KEY idx_precosfilial_produto_filial (produto_id, filial_id),
    KEY idx_precosfilial_filial (filial_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE tabela_desconto (
    tabela_desconto_id INT NOT NULL AUTO_INCREMENT,
    descricao VARCHAR(60) NULL,
    apagado CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (tabela_desconto_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE tipospgto (
    tipospgto_id INT NOT NULL AUTO_INCREMENT,
    descricao VARCHAR(35) NULL,
    tipo VARCHAR(15) NULL,
    PRIMARY KEY (tipospgto_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE formapgto (
    formapgto_id INT NOT NULL AUTO_INCREMENT,
    descricao VARCHAR(35) NULL,
    PRIMARY KEY (formapgto_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE formapgto_tipospgto (
    formapgto_tipospgto_id INT NOT NULL AUTO_INCREMENT,
    tipospgto_id INT NOT NULL,
    formapgto_id INT NOT NULL,
    PRIMARY KEY (formapgto_tipospgto_id),
    KEY idx_formapgto_tipospgto_tipo (tipospgto_id),
    KEY idx_formapgto_tipospgto_forma (formapgto_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- empresa_id 0 with padrao 'S' marks a branch's default table, filial_id 0 every branch.
CREATE TABLE empresa_tab_desconto (
    empresa_tab_desconto_id INT NOT NULL AUTO_INCREMENT,
    tabela_desconto_id INT NOT NULL,
    empresa_id INT NOT NULL DEFAULT 0,
    filial_id INT NOT NULL DEFAULT 0,
    formapgto_tipospgto_id INT NOT NULL DEFAULT 0,
    padrao CHAR(1) NULL DEFAULT 'N',
    aceita CHAR(1) NULL DEFAULT 'N',
    apagado CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (empresa_tab_desconto_id),
    KEY idx_empresa_tab_desconto_tabela (tabela_desconto_id),
    KEY idx_empresa_tab_desconto_empresa_filial (empresa_id, filial_id),
    KEY idx_empresa_tab_desconto_formapgto (formapgto_tipospgto_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE prod_tabela_desconto (
    prod_tabela_desconto_id INT NOT NULL AUTO_INCREMENT,
    produto_id INT NOT NULL,
    tabela_desconto_id INT NOT NULL,
    pratica_preco INT NULL DEFAULT 1,
    acrescimo DECIMAL(15,4) NULL DEFAULT 0,
    desconto DECIMAL(15,4) NULL DEFAULT 0,
    desconto_maximo DECIMAL(15,4) NULL DEFAULT 0,
    bloqueia_desc CHAR(1) NULL DEFAULT 'N',
    permite_promocao CHAR(1) NULL DEFAULT 'N',
    permite_desc_qtde CHAR(1) NULL DEFAULT 'N',
    permite_desc_avista CHAR(1) NULL DEFAULT 'N',
    pratica_menor_preco CHAR(1) NULL DEFAULT 'N',
    apagado CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (prod_tabela_desconto_id),
    KEY idx_prod_tabela_desconto_tabela (tabela_desconto_id, produto_id),
    KEY idx_prod_tabela_desconto_produto (produto_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE grupo_tabela_desconto (
    grupo_tabela_desconto_id INT NOT NULL AUTO_INCREMENT,
    grupo_id INT NOT NULL,
    tabela_desconto_id INT NOT NULL,
    pratica_preco INT NULL DEFAULT 1,
    acrescimo DECIMAL(15,4) NULL DEFAULT 0,
    desconto DECIMAL(15,4) NULL DEFAULT 0,
    desconto_maximo DECIMAL(15,4) NULL DEFAULT 0,
    bloqueia_desc CHAR(1) NULL DEFAULT 'N',
    permite_promocao CHAR(1) NULL DEFAULT 'N',
    permite_desc_qtde CHAR(1) NULL DEFAULT 'N',
    permite_desc_avista CHAR(1) NULL DEFAULT 'N',
    pratica_menor_preco CHAR(1) NULL DEFAULT 'N',
    permite_troca CHAR(1) NULL DEFAULT 'N',
    permite_pesq_troca CHAR(1) NULL DEFAULT 'N',
    apagado CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (grupo_tabela_desconto_id),
    KEY idx_grupo_tabela_desconto_tabela (tabela_desconto_id, grupo_id),
    KEY idx_grupo_tabela_desconto_grupo (grupo_id)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

CREATE TABLE descqtde (
    descqtde_id INT NOT NULL AUTO_INCREMENT,
    produto_id INT NOT NULL,
    qtde INT NOT NULL DEFAULT 0,
    desconto DECIMAL(15,4) NULL DEFAULT 0,
    apagado CHAR(1) NULL DEFAULT 'N',
    PRIMARY KEY (descqtde_id),
    KEY idx_descqtde_produto (produto_id, qtde)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;
