#!/usr/bin/env bash
# Prints the demo instance for the stand-in client library: a two-instance cluster with
# sessions of this computer (named as the program names it: the host name without domain,
# upper case, at most 15 characters) and of two other machines, one session without a
# terminal, and five accounts (sys only with a privilege: sys as sysdba; ops$dba for the
# user ID /, also without a host string). On KAIKEI-PC01 the accounting program hangs holding
# row locks that sessions on both instances wait for, in the middle of a long table scan and a
# large transaction; a plain kill only marks it (ORA-00031). Its spreadsheet session holds a
# transaction open: a disconnect after the transaction waits.
set -euo pipefail
me=$("$(dirname "$0")/computer-name.sh")
t=$'\t'
today=$(date +%F)
cat <<FIXTURE
# Kestrom demo instance (stand-in client library, not an Oracle server)
connect${t}ORCL
connect${t}localhost:1521/XEPDB1
user${t}system${t}pelmora${t}read,alter
user${t}viewer${t}viewer${t}read
user${t}guest${t}guest${t}-
user${t}sys${t}change_on_install${t}sysdba,sysoper
user${t}ops\$dba${t}-${t}read,alter,external,sysdba
local
session${t}1${t}1${t}ACTIVE${t}\N${t}oracle${t}\N${t}oracle@dbhost (PMON)${t}${today} 06:00:01${t}machine=dbhost${t}process=2810${t}event=pmon timer${t}seconds_in_wait=2${t}last_call_et=14400
session${t}23${t}4711${t}INACTIVE${t}${me}${t}dba${t}SYSTEM${t}sqlplus.exe${t}${today} 09:05:07${t}machine=${me}${t}module=SQL*Plus${t}process=6012:5844${t}server=DEDICATED${t}event=SQL*Net message from client${t}seconds_in_wait=930${t}last_call_et=930
session${t}31${t}208${t}ACTIVE${t}${me}${t}dba${t}SCOTT${t}SQL Developer${t}${today} 10:12:40${t}machine=${me}${t}module=SQL Developer${t}action=ワークシート${t}process=7720${t}server=DEDICATED${t}sql_id=4xr9w2kfm8c0b${t}event=db file sequential read${t}seconds_in_wait=0${t}last_call_et=3
session${t}47${t}15${t}INACTIVE${t}${me}${t}dba${t}HR${t}toad.exe${t}${today} 13:45:00
session${t}52${t}3301${t}ACTIVE${t}KAIKEI-PC01${t}suzuki${t}KAIKEI${t}会計システム.exe${t}${today} 08:31:12${t}machine=KEIRI\KAIKEI-PC01${t}module=会計システム.exe${t}action=月次締め${t}client_info=経理部${t}process=5120:4388${t}server=DEDICATED${t}sql_id=8a2kq0v7n3x1c${t}event=SQL*Net more data from client${t}seconds_in_wait=1800${t}last_call_et=1805${t}taddr=00000000C0FFEE52${t}stubborn
session${t}66${t}907${t}INACTIVE${t}KAIKEI-PC01${t}suzuki${t}KAIKEI${t}excel.exe${t}${today} 11:02:55${t}open-transaction
session${t}78${t}42${t}ACTIVE${t}SOUKO-PC02${t}tanaka${t}SOUKO${t}在庫管理.exe${t}${today} 07:58:20${t}machine=SOUKO\SOUKO-PC02${t}module=在庫管理.exe${t}action=出庫${t}process=3344:2210${t}server=DEDICATED${t}sql_id=1fs8nkz4c2w9p${t}event=enq: TX - row lock contention${t}seconds_in_wait=340${t}last_call_et=341${t}blocking_session=52${t}blocking_instance=1${t}row_wait_obj#=73021${t}row_wait_file#=7${t}row_wait_block#=40211${t}row_wait_row#=12
# instance 2
session${t}1${t}1${t}ACTIVE${t}\N${t}oracle${t}\N${t}oracle@dbhost2 (PMON)${t}${today} 06:00:02${t}inst_id=2${t}machine=dbhost2${t}process=2790${t}event=pmon timer${t}seconds_in_wait=1${t}last_call_et=14400
session${t}23${t}5120${t}INACTIVE${t}${me}${t}dba${t}SYSTEM${t}sqlplus.exe${t}${today} 09:40:02${t}inst_id=2${t}machine=${me}${t}module=SQL*Plus${t}process=6100:6104${t}server=DEDICATED${t}event=SQL*Net message from client${t}seconds_in_wait=600${t}last_call_et=600
session${t}41${t}1203${t}ACTIVE${t}KAIKEI-PC01${t}suzuki${t}KAIKEI${t}会計システム.exe${t}${today} 08:31:15${t}inst_id=2${t}machine=KEIRI\KAIKEI-PC01${t}module=会計システム.exe${t}action=伝票入力${t}client_info=経理部${t}process=5120:4390${t}server=DEDICATED${t}sql_id=1fs8nkz4c2w9p${t}event=enq: TX - row lock contention${t}seconds_in_wait=290${t}last_call_et=291${t}blocking_session=52${t}blocking_instance=1
session${t}88${t}77${t}INACTIVE${t}SOUKO-PC02${t}tanaka${t}SOUKO${t}在庫管理.exe${t}${today} 07:58:25${t}inst_id=2
sql${t}8a2kq0v7n3x1c${t}1${t}UPDATE 在庫 SET 引当数 = 引当数 + :1 WHERE 品番 = :2
sql${t}1fs8nkz4c2w9p${t}1${t}UPDATE 在庫 SET 数量 = 数量 - :1 WHERE 品番 = :2
sql${t}1fs8nkz4c2w9p${t}2${t}UPDATE 在庫 SET 数量 = 数量 - :1 WHERE 品番 = :2
sql${t}4xr9w2kfm8c0b${t}1${t}SELECT * FROM hr.employees WHERE department_id = :dept
transaction${t}00000000C0FFEE52${t}1${t}$(date +%m/%d/%y) 08:31:40${t}5000${t}184220
object${t}73021${t}SOUKO${t}在庫
longop${t}1${t}52${t}3301${t}Table Scan${t}4120${t}10300${t}2710${t}${today} 08:32:02
FIXTURE
