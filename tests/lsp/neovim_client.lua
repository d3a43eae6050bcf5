-- Neovim's own LSP client against `keltoc lsp`: open a source with an error,
-- wait for the diagnostic, ask hover and definition. Run headless by ctest:
--   KELTOC=... KELTO_LIBRARIES=... KELTO_SOURCE=... nvim --headless -u NONE -c "luafile THIS"
-- Exits 0 when every check holds, else prints the failures and exits 1.
local keltoc = os.getenv("KELTOC")
local libraries = os.getenv("KELTO_LIBRARIES")
local source = os.getenv("KELTO_SOURCE")
local failures = {}

local function check(condition, what)
  if not condition then
    table.insert(failures, what)
  end
end

local function finish()
  if #failures > 0 then
    io.stdout:write("FAILED:\n" .. table.concat(failures, "\n") .. "\n")
    vim.cmd("cquit 1")
  else
    io.stdout:write("neovim: diagnostic, hover and definition as expected\n")
    vim.cmd("qall!")
  end
end

vim.cmd("edit " .. vim.fn.fnameescape(source))
local buffer = vim.api.nvim_get_current_buf()
local client = vim.lsp.start_client({
  name = "keltoc",
  cmd = { keltoc, "--lib-dir", libraries, "lsp" },
  root_dir = vim.fn.fnamemodify(source, ":h"),
})
check(client ~= nil, "the client did not start")
vim.lsp.buf_attach_client(buffer, client)

-- The error: "GoTo Nowhere" on line 5, after a character beyond the basic
-- plane; Neovim turns the UTF-16 columns into bytes: 9 to 21.
local arrived = vim.wait(10000, function()
  return #vim.diagnostic.get(buffer) > 0
end, 20)
check(arrived, "no diagnostic arrived")
if arrived then
  local diagnostic = vim.diagnostic.get(buffer)[1]
  check(diagnostic.message == "Label not found!", "message: " .. diagnostic.message)
  check(diagnostic.lnum == 4 and diagnostic.col == 9, ("start: %d:%d"):format(diagnostic.lnum, diagnostic.col))
  check(diagnostic.end_lnum == 4 and diagnostic.end_col == 21,
    ("end: %d:%d"):format(diagnostic.end_lnum, diagnostic.end_col))
end

local function request(method, line, character)
  local params = {
    textDocument = { uri = vim.uri_from_bufnr(buffer) },
    position = { line = line, character = character },
  }
  local answers = vim.lsp.buf_request_sync(buffer, method, params, 5000) or {}
  for _, answer in pairs(answers) do
    if answer.result then
      return answer.result
    end
  end
  return nil
end

-- Hover on "side" in "Start: side Call Hypot".
local hover = request("textDocument/hover", 3, 8)
local expected = "side: переменная Single, адрес 1, размер 1\nобъявлено: строка 3"
check(hover and hover.contents and hover.contents.value == expected,
  "hover: " .. vim.inspect(hover))

-- Definition of "Hypot": its label in the shipped library.
local definition = request("textDocument/definition", 3, 19)
if definition and definition[1] then
  definition = definition[1]
end
check(definition and definition.uri and definition.uri:match("/stackmath%.bib$"),
  "definition: " .. vim.inspect(definition))
check(definition and definition.range and definition.range.start.line == 7
  and definition.range.start.character == 0, "definition range: " .. vim.inspect(definition))

vim.lsp.stop_client(client)
finish()
