#!/bin/sh
# The real varnok-pedal speaks the language chosen by --lang, VARNOK_LANG or
# the locale, from the translations built into it; English in the C locale.
#   run-languages.sh VARNOK_PEDAL
exe=$1
status=0
check() {  # check WANT_RC EXPECTED_LINE ENV... -- ARGS...
  want=$1 expected=$2
  shift 2
  got=$(env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG -u VARNOK_LANG "$@" 2>&1)
  rc=$?
  first=$(printf '%s\n' "$got" | head -n 1)
  if [ "$rc" -ne "$want" ] || [ "$first" != "$expected" ]; then
    echo "$*: exit $rc, first line: $first"
    echo "  expected exit $want and: $expected"
    status=1
  fi
}
unknown='unknown command "bogus" (commands: list, read, write, export, watch; try --help)'
check 1 "error: $unknown" "$exe" bogus
check 1 "error: $unknown" LANG=C "$exe" bogus
check 1 'Fehler: unbekannter Befehl "bogus" (Befehle: list, read, write, export, watch; siehe --help)' \
  "$exe" --lang de bogus
check 1 '错误: 未知命令 "bogus"(命令: list、read、write、export、watch; 请尝试 --help)' \
  VARNOK_LANG=zh_CN "$exe" bogus
check 1 'Fehler: --count muss eine Zahl von 1 bis 3 sein' LANG=de_AT.UTF-8 "$exe" read --count 9
check 1 "error: $unknown" VARNOK_LANG=de "$exe" bogus --lang=C
check 0 'varnok-pedal - 在命令行中设置三踏板 USB 脚踏开关' "$exe" --help --lang zh_CN
check 1 '--lang fr: no translation for this language (shipped: de, zh_CN); the texts stay English' \
  "$exe" --lang fr bogus
[ $status -eq 0 ] && echo "varnok-pedal: English, German and Chinese as chosen"
exit $status
