-- Twin of int_array_if.kel: fill an Integer array, then walk it counting
-- even and odd entries. Usage: lua5.4 int_array_if.lua ROUNDS
local rounds = tonumber(arg[1]) or 100000
local a = {}
local count = 0
for _ = 1, rounds do
    count = 0
    for i = 1, 50 do a[i] = i * 3 % 7 end
    for j = 1, 50 do
        if a[j] % 2 == 0 then count = count + 1 else count = count - 1 end
    end
end
print(count)
