#!/usr/bin/env bash
# Prints this computer's name as Kestrom names it and as the demo instance records it in
# v$session.terminal: the host name without its domain, in upper case, at most 15 characters.
set -euo pipefail
hostname | cut -d. -f1 | tr '[:lower:]' '[:upper:]' | cut -c1-15
