#!/usr/bin/env bash
# "Crea file" of one communication with 100,000 requests over a 100,000-applicant register (the codice
# fiscale check of the whole register included), against the sqlite3 command-line program reading the
# same rows: the natural persons with their municipality, then the requests with their applicants and
# municipalities. Both run as fresh processes, alternately, three times; medians.
set -euo pipefail
. "$ROOT/bench/lib.sh"
dir="$(demo_folder 100000 100000)"
db="$dir/dati"
progressivo=$(sqlite3 "$db/DENUNCE.DAT" "SELECT PROGRESSIVO FROM DENUNCE WHERE ANNO = 2018 ORDER BY ID_DENUNCIA DESC LIMIT 1")
# The public body's data must pass the checks; nothing else is kept in this folder's settings.
printf '[ENTE]\r\nDENOMINAZIONE=COMUNE DI PROVA\r\nINDIRIZZO=PIAZZA DEL MUNICIPIO 1\r\nCAP=00185\r\nCITTA=PROVA\r\nPROVINCIA=RM\r\nCODICEFISCALE=00123456789\r\nBELFIORE=H501\r\n' > "$dir/TARVIDO.INI"
sql="$WORK/transmission-rows.sql"
cat > "$sql" <<SQL
ATTACH '$db/RICHIEDENTI.DAT' AS RICHIEDENTI;
ATTACH '$db/COMUNI.DAT' AS COMUNI;
ATTACH '$db/RICHIESTE.DAT' AS RICHIESTE;
ATTACH '$db/DENUNCE.DAT' AS DENUNCE;
SELECT R.PERS_COGNOME, R.PERS_NOME, R.PERS_SESSO, R.PERS_DNASCITA, R.PERS_CF, C.CODICE
  FROM RICHIEDENTI R JOIN COMUNI C ON (R.ID_COMUNE = C.ID) WHERE (R.TIPO_RICHIEDENTE = 'P');
SELECT Q.CODICE, Q.NUMERO, Q.DATA_INIZIO, Q.DATA_FINE, R.ID_RICHIEDENTE, R.TIPO_RICHIEDENTE, R.PERS_CF,
       R.PERS_COGNOME, R.PERS_NOME, R.PERS_SESSO, R.PERS_DNASCITA, R.DENOMINAZIONE, C.ID, C.NOME, C.PROV
  FROM RICHIESTE Q
  LEFT JOIN RICHIEDENTI R ON R.ID_RICHIEDENTE = Q.ID_RICHIEDENTE
  LEFT JOIN COMUNI C ON C.ID = CASE WHEN R.TIPO_RICHIEDENTE = 'A' THEN R.ID_COMUNE_SEDE ELSE R.ID_COMUNE END
  WHERE Q.ID_DENUNCIA = (SELECT ID_DENUNCIA FROM DENUNCE WHERE ANNO = 2018 AND PROGRESSIVO = $progressivo)
  ORDER BY Q.ID_RICHIESTA;
SQL
ours=(); theirs=()
for i in 1 2 3; do
  t0=$(now_ms)
  QT_QPA_PLATFORM=offscreen "$dir/tarvido-cli" --root "$dir" crea-file 2018 "$progressivo" --continua >/dev/null 2>&1
  t1=$(now_ms)
  sqlite3 :memory: < "$sql" >/dev/null
  t2=$(now_ms)
  ours+=($((t1 - t0))); theirs+=($((t2 - t1)))
done
lines=$(wc -l < "$dir/Trasmissioni/TARVIDO_2018_${progressivo}.txt")
[ "$lines" -eq 100002 ] || { echo "file di $lines righe invece di 100002" >&2; exit 1; }
median() { printf '%s\n' "$@" | sort -n | sed -n 2p; }
mo=$(median "${ours[@]}"); mt=$(median "${theirs[@]}")
printf 'crea-file (controllo dei codici fiscali incluso) rispetto a sqlite3\t100.000 richiedenti, 100.000 richieste\t%s ms (sqlite3 %s ms)\t<= 2 x sqlite3\t%s\n' \
  "$mo" "$mt" "$(awk -v a="$mo" -v b="$mt" 'BEGIN{printf "%.2f", a/b}')"
