#!/usr/bin/env bash
# Prints a catalog of COUNT rules (default 1000) that uses every expression, over files every
# Linux machine has, for the thread and memory checks. Its answers do not change between runs.
set -euo pipefail
count=${1:-1000}
for ((i = 0; i < count; ++i)); do
  case $((i % 17)) in
  0) echo "r$i = And(Not(ValueOf(value=false)), Or(ValueOf(value=false), Compare(type=integer, relation=lt, ValueOf(value=$i), ValueOf(value=500))))" ;;
  1) echo "r$i = And(Compare(type=version, relation=ge, ValueOf(value=1.$i), ValueOf(value=1.9)), Compare(type=uinteger, relation=gt, ValueOf(value=-1), ValueOf(value=$i)), Compare(type=hex, relation=ne, ValueOf(value=0x$i), ValueOf(value=ff)), Compare(type=string, relation=le, ValueOf(value=a$i), ValueOf(value=b)), Compare(type=cistring, relation=eq, ValueOf(value=A$i), ValueOf(value=a$i)), Compare(type=boolean, relation=lt, ValueOf(value=false), ValueOf(value=true)))" ;;
  2) echo "r$i = BitwiseExclusiveOr(BitwiseAnd(ValueOf(value=$i), ValueOf(value=255)), BitwiseInclusiveOr(ValueOf(value=1), ValueOf(value=$((i * 7)))))" ;;
  3) echo "r$i = Switch(default=none, ValueOf(value=false), ValueOf(value=x), FileInfo(absolutePath=/no/such/file$i, field=size), ValueOf(value=y), Compare(type=integer, relation=gt, ValueOf(value=$i), ValueOf(value=300)), ValueOf(value=large$i))" ;;
  4) echo "r$i = Md5(Concat(separator=\", \", ifEmpty=add, ValueOf(value=a$i), ValueOf(value=\"\"), ValueOf(value=\"caf\\u{E9} \\u{1F600}\")))" ;;
  5) echo "r$i = Concat(separator=\"|\", Clip(inputString=\"2024-05-$i\", startIndex=5, endIndex=6), StringSlice(inputString=report$i.tar.gz, startIndex=-2, endIndex=\"\"), StringCrop(inputString=\"key=[a$i] x=[b]\", startString=\"[\", endString=\"]\", seekFrom=right))" ;;
  6) echo "r$i = Or(Contains(inputString=\"/usr/local/bin$i\", searchedString=/usr/, position=start), Match(inputString=Kern$i.LOG, filter=\"*.log\", ignoreCase=true))" ;;
  7) echo "r$i = VectorAt(index=2, Sort(filter=\"*\", order=desc, Substring(inputString=\"b$i\\na$i\\nc$i\", searchedString=\"\")))" ;;
  8) echo "r$i = VectorIterator(Vector(filter=\"a*\", ignoreCase=true, ValueOf(value=A$i), Substring(inputString=\"a1\\nb2\\na3\", searchedString=a)))" ;;
  9) echo "r$i = ScalarToVector(VectorToScalar(ValueOf(value=\"a;b$i\"), Vector(filter=\"*\", ValueOf(value=\"c\\\\d\"), ValueOf(value=\"\"))))" ;;
  10) echo "r$i = Concat(separator=\" \", FileExists(absolutePath=/etc/passwd), PathExists(absolutePath=/etc), FileDirectory(file=/usr/lib/os-release$i), FileExists(absolutePath=/no/such/file$i))" ;;
  11) echo "r$i = Concat(separator=\" \", FileInfo(absolutePath=/etc/passwd, field=size), FileInfo(absolutePath=/etc/passwd, field=inode), FileInfo(absolutePath=/etc/passwd, field=mtime))" ;;
  12) echo "r$i = And(FileInfoCompare(absolutePath=/etc/passwd, field=size, relation=gt, value=$i), FileInfoCompare(absolutePath=/no/such/file, field=size, relation=lt, value=1, mustExist=false))" ;;
  13) echo "r$i = Concat(IniFileKeyValue(file=/etc/os-release, section=\"\", key=ID), IniFileKeyExists(file=/etc/os-release, section=\"\", key=NOPE$i))" ;;
  14) echo "r$i = Concat(separator=\",\", MountPath(absolutePath=/etc/passwd), MountRemotePath(absolutePath=/etc), MountServer(absolutePath=/))" ;;
  15) echo "r$i = ValueOf(value=\"line $i\\twith \\\"quotes\\\" and \\u{2603}\")" ;;
  16) echo "r$i = And(ValueOf(value=true), Clip(inputString=abc, startIndex=x$i, endIndex=1))" ;;
  esac
done
