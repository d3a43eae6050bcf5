-- The benchmark loop of emulator_bench in Lua, as a yardstick for
-- `keltoc run`: s1 := s1 / 3 + 7; i1 := i1 + 1, back to 0 at 30000.
-- Usage: lua5.4 bench/loop.lua EMULATED_INSTRUCTIONS
-- One pass stands for the loop's 13 emulated instructions.
local passes = (tonumber(arg[1]) or 100000000) // 13
local s1, i1 = 0.0, 0
for _ = 1, passes do
    s1 = s1 / 3 + 7
    i1 = i1 + 1
    if i1 >= 30000 then i1 = 0 end
end
print(s1, i1)
