#!/usr/bin/env bash
# 32-bit Windows promises only a 4-byte aligned stack to WinMain, window procedures and
# callbacks, so no function of the exe may touch the stack with an instruction that needs
# 16-byte alignment unless it aligns the stack itself (and $-16,%esp or stricter). Those are
# the aligned moves (movaps, movdqa, vmovdqa ...) and every other legacy SSE instruction with a
# 128-bit memory operand (pmaddwd, pshufb ...); VEX ones other than the aligned moves, the
# unaligned moves and the scalar forms take any address. Read from the disassembly, so the
# check runs also where no 32-bit code can run. Names the first such access of each function.
set -euo pipefail
i686-w64-mingw32-objdump -d -C --no-show-raw-insn "$1" | awk -F'\t' '
  /^[0-9a-f]+ <.*>:$/ {
    fn = substr($0, index($0, "<") + 1)
    sub(/( \[clone \.cold.*)?>:$/, "", fn)
  }
  $2 ~ /^and +\$0xffffff[0-9a-f]0,%esp/ { realigns[fn] = 1 }
  $2 ~ /%[xy]mm/ && $2 ~ /\(%e[sb]p/ && !(fn in aligned) {
    split($2, words, " ")
    m = words[1]
    unaligned = m ~ /^(movu|movdqu|lddqu|mov[dq]$|mov[lh]p|movddup|pinsr|pextr|extractps|insertps|pmov[sz]x|pcmp[ei]str|cvt(dq2pd|ps2pd|pi2p|si))/
    if (m ~ /^v?mov(ap[sd]|dqa|nt)/ || (m !~ /^v/ && !unaligned && m !~ /^[^p].*s[sd]l?$/))
      aligned[fn] = $1 " " $2
  }
  END {
    for (f in aligned)
      if (!realigns[f]) {
        print "aligned stack access in " f " without aligning the stack:" aligned[f]
        failed = 1
      }
    exit failed || fn == ""
  }'
