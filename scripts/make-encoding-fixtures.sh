#!/usr/bin/env bash
# Writes the encoding fixtures tests/data/sgf/encodings/*.sgf with iconv: one small record per
# encoding, declared by CA, by a byte-order mark or not at all. Each holds its player names and
# a comment in its own script; tests/data/sgf/encodings/expected.txt lists them for the tests.
set -euo pipefail
cd "$(dirname "$0")/../tests/data/sgf/encodings"

# name | encoding | CA value ("" for none) | black | white | comment
fixtures=(
  "gb2312|GB2312|GB2312|柯洁|古力|黑棋这手棋下得很好，白棋很难应对。"
  "gb18030-undeclared|GB18030||聂卫平|马晓春|黑棋这手棋下得很好，白棋很难应对。中国围棋协会。"
  "big5|BIG5|Big5|周俊勳|林海峰|黑棋這手棋下得很好，白棋很難應對。"
  "big5-undeclared|BIG5||王銘琬|張栩|黑棋這手棋下得很好，白棋很難應對。臺灣棋院。"
  "shift-jis|SHIFT_JIS|SHIFT_JIS|本因坊秀策|井上幻庵因碩|黒の妙手、耳赤の一手と呼ばれる。"
  "ms-kanji|SHIFT_JIS|MS_KANJI|本因坊丈和|赤星因徹|吐血の一局として知られる対局です。"
  "shift-jis-undeclared|SHIFT_JIS||井山裕太|一力遼|黒の妙手、耳赤の一手と呼ばれる。日本棋院の対局です。"
  "euc-jp|EUC-JP|EUC-JP|趙治勲|小林光一|白の好手で形勢は互角になりました。"
  "euc-jp-undeclared|EUC-JP||大竹英雄|武宮正樹|白の好手で形勢は互角になりました。宇宙流の布石です。"
  "euc-kr|EUC-KR|EUC-KR|조훈현|서봉수|흑이 좋은 수를 두었다. 백은 어렵다."
  "cp949-short-undeclared|CP949||똠|뷁|똠방"
  "unknown-ca|CP949|X-NO-SUCH-CHARSET|이창호|유창혁|귀의 급소를 찌른 좋은 수입니다."
  "latin1|ISO-8859-1|ISO-8859-1|José Núñez|Søren Ærø|Très bien joué, élégant."
  "utf16le-bom|UTF-16LE|UTF-16|신진서|박정환|유니코드 기보입니다 – 囲碁 ✓"
  "utf16be-bom|UTF-16BE||최정|오유진|유니코드 기보입니다 – 围棋 ✓"
  "utf16le-nobom|UTF-16LE||김지석|변상일|바이트 순서 표시가 없는 기보"
  "utf8-bom|UTF-8||安達|李昌鎬|Ünïcödé 바둑 囲碁"
)

: > expected.txt
for f in "${fixtures[@]}"; do
  IFS='|' read -r name encoding ca black white comment <<< "$f"
  text="(;GM[1]FF[4]SZ[19]"
  [ -n "$ca" ] && text+="CA[$ca]"
  text+="PB[$black]PW[$white]GN[$name]C[$comment];B[pd]C[$comment];W[dd])"
  case "$name" in
    utf16le-bom) printf '\xff\xfe' > "$name.sgf" ;;
    utf16be-bom) printf '\xfe\xff' > "$name.sgf" ;;
    utf8-bom) printf '\xef\xbb\xbf' > "$name.sgf" ;;
    *) : > "$name.sgf" ;;
  esac
  printf '%s' "$text" | iconv -f UTF-8 -t "$encoding" >> "$name.sgf"
  printf '%s|%s|%s|%s\n' "$name" "$black" "$white" "$comment" >> expected.txt
done
