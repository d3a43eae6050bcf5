-- Twin of nested_do_singles.kel: a 20 x 20 walk whose body chooses between
-- two updates of a Single accumulator. Usage: lua5.4 nested_do_singles.lua ROUNDS
local rounds = tonumber(arg[1]) or 100000
local acc = 0.0
for _ = 1, rounds do
    for i = 1, 20 do
        for j = 1, 20 do
            local x = i * j * 0.5
            if x > 7 then acc = acc * 0.5 - x else acc = acc * 0.25 + x end
        end
    end
end
print(acc)
