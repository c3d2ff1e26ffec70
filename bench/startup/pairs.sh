# The part of both start-up benches that runs the pairs and judges them:
# sourced by bench/startup/run.sh and bench/startup-windows/run.sh after they
# have set $floor, $tavolen, $pairs, $tmp, $time_target and $rss_target and
# defined `measure PROGRAM`, which prints "MAP_MS RSS_KIB CPU_MS".
# shellcheck shell=bash

run_pairs() {
  measure "$floor" >/dev/null
  measure "$tavolen" >/dev/null
  row='%-4s %10s %10s %10s   %10s %10s %10s\n'
  printf "$row" pair 'floor ms' KiB 'cpu ms' 'tavolen ms' KiB 'cpu ms'
  for i in $(seq "$pairs"); do
    floor_sample=$(measure "$floor")
    tavolen_sample=$(measure "$tavolen")
    echo "$floor_sample $tavolen_sample" >>"$tmp/samples"
    # shellcheck disable=SC2086
    printf "$row" "$i" $floor_sample $tavolen_sample
  done

  median() { sort -g | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
  column() { cut -d' ' -f"$1" "$tmp/samples" | median; }

  awk -v fms="$(column 1)" -v frss="$(column 2)" -v fcpu="$(column 3)" \
    -v tms="$(column 4)" -v trss="$(column 5)" -v tcpu="$(column 6)" \
    -v tt="$time_target" -v rt="$rss_target" 'BEGIN {
    rtime = tms / fms; rrss = trss / frss
    printf "median   floor   %.1f ms  %.1f MiB  cpu %.1f ms\n", fms, frss / 1024, fcpu
    printf "median   tavolen %.1f ms  %.1f MiB  cpu %.1f ms\n", tms, trss / 1024, tcpu
    printf "ratio    time %.2f (target %.2f) %s   memory %.2f (target %.2f) %s   cpu %.2f\n",
      rtime, tt, (rtime <= tt ? "ok" : "MISSED"), rrss, rt, (rrss <= rt ? "ok" : "MISSED"),
      tcpu / fcpu
    exit (rtime <= tt && rrss <= rt) ? 0 : 1
  }'
}
