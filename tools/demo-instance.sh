#!/usr/bin/env bash
# Prints the demo instance for the stand-in client library: sessions of this computer (named
# as the program names it: the host name without domain, upper case, at most 15 characters)
# and of two other machines, one session without a terminal, and three accounts.
set -euo pipefail
me=$(hostname | cut -d. -f1 | tr '[:lower:]' '[:upper:]' | cut -c1-15)
t=$'\t'
today=$(date +%F)
cat <<FIXTURE
# Kestrom demo instance (stand-in client library, not an Oracle server)
connect${t}ORCL
connect${t}localhost:1521/XEPDB1
user${t}system${t}pelmora${t}read,alter
user${t}viewer${t}viewer${t}read
user${t}guest${t}guest${t}-
session${t}1${t}1${t}ACTIVE${t}\N${t}oracle${t}\N${t}oracle@dbhost (PMON)${t}${today} 06:00:01
session${t}23${t}4711${t}INACTIVE${t}${me}${t}dba${t}SYSTEM${t}sqlplus.exe${t}${today} 09:05:07
session${t}31${t}208${t}ACTIVE${t}${me}${t}dba${t}SCOTT${t}SQL Developer${t}${today} 10:12:40
session${t}47${t}15${t}INACTIVE${t}${me}${t}dba${t}HR${t}toad.exe${t}${today} 13:45:00
session${t}52${t}3301${t}ACTIVE${t}KAIKEI-PC01${t}suzuki${t}KAIKEI${t}会計システム.exe${t}${today} 08:31:12
session${t}66${t}907${t}INACTIVE${t}KAIKEI-PC01${t}suzuki${t}KAIKEI${t}excel.exe${t}${today} 11:02:55
session${t}78${t}42${t}ACTIVE${t}SOUKO-PC02${t}tanaka${t}SOUKO${t}在庫管理.exe${t}${today} 07:58:20
FIXTURE
