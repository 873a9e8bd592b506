# The sample store on a private MariaDB server, and a settings file that points Precivox at
# it. Always 127.0.0.1: nothing here may reach another address.
#
# usage: sql_as_root PASSWORD [mariadb arguments...]
#        load_sample_store PASSWORD DATABASE        (source folder: the repository's root)
#        write_settings BIN_FOLDER PASSWORD DATABASE [BRANCH]
sql_as_root() {
    local password=$1
    shift
    mariadb --no-defaults -uroot -p"$password" -h127.0.0.1 -P3306 "$@"
}

load_sample_store() {
    local password=$1 database=$2
    local root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    sql_as_root "$password" -e "CREATE DATABASE $database CHARACTER SET latin1"
    sql_as_root "$password" "$database" <"$root/data/sql/schema.sql"
    sql_as_root "$password" "$database" <"$root/data/sql/sample-store.sql"
}

write_settings() {
    local bin=$1 password=$2 database=$3 branch=${4:-1}
    local senha
    senha=$(printf '%s' "$password" | "$bin/precivox" --encipher-password)
    printf '[ip]\ndatabase=%s\nlocal=127.0.0.1\nsenha=%s\n\n[FilialMatriz]\nCodLogica=%s\n' \
        "$database" "$senha" "$branch" >"$bin/sistema_yor.ini"
}
