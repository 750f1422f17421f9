# args: --lang sql
select SELECT Select BASE_NAME ENTRY_POINT base_name entry_point UNCOMMITTED Transaction
a.b 1.5e-3 1..5 .5 ... .= .x 0x1F 10
$ @ ! ~ ` { } é
( ) & * + , : ; < = > ? [ \ ] ^ |
	tab	separated
