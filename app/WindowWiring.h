#pragma once

namespace precivox {

class LeitorProdutosWindow;
class Prompter;
class TFLeitorProdutos;

// Hands the window's events to the form's handlers; `errors` shows what they raise.
void connectWindow(LeitorProdutosWindow& window, TFLeitorProdutos& form, Prompter& errors);

} // namespace precivox
