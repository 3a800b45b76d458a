# Targets whose doubles must round exactly as the scalar reference iteration's do: every pixel
# of every path (scalar, vector lanes, deep perturbation) and the tests' expected values.
# No multiply-add may be fused, since a fused one rounds once where the reference rounds
# twice. errno is never read, so square roots may stay inline instructions.
function(orvane_exact_arithmetic target)
  target_compile_options(${target} PRIVATE -ffp-contract=off -fno-math-errno)
endfunction()
