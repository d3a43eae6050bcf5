-- Twin of display_loop.kel: a counter and a number derived from it written
-- over both 16-character display lines every pass (text formatted and
-- placed as the display does, nothing printed). Usage: lua5.4 display_loop.lua PASSES
local passes = tonumber(arg[1]) or 1000000
local line1, line2 = string.rep(" ", 16), string.rep(" ", 16)
local function over(line, text)  -- writes from column 1, the rest stays
    return (text .. line:sub(#text + 1)):sub(1, 16)
end
local n = 0
for _ = 1, passes do
    n = n + 1
    local v = n * 0.1
    line1 = over(line1, "N=" .. string.format("%d", n))
    line2 = over(line2, "V=" .. string.format("%.7g", v))
    if n >= 30000 then n = 0 end
end
print(line1, line2)
