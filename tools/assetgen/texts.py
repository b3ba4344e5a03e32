"""Every text drawn into a picture, one table per language.

The drawing code is the same for every language: it takes one of these tables
and draws its strings where the Portuguese ones stand. Portuguese is the game's
own language; its pictures go to Imagens/, those of any other language to
Imagens/<code>/ (only the pictures that hold text).
"""

BASE = "pt"

TEXTS = {
    "pt": {
        # Buttons (botoes.py).
        "play": "Jogar",
        "instructions": "Instruções",
        "quit": "Sair",
        "back": "Voltar",
        "play_again": "Jogar de novo",
        "insert": "Inserir",
        # The way back from the market to the menu.
        "leave": "Menu",
        "practice": "Praticar",
        "results": "Resultados",
        "try_again": "Tentar de novo",
        # Keys 1 to 4: single right, double right, single left, double left.
        "rotations": [("Rotação simples", "à direita"), ("Rotação dupla", "à direita"),
                      ("Rotação simples", "à esquerda"), ("Rotação dupla", "à esquerda")],
        # The market scene.
        "in_hand": ("Na", "mão"),
        "bin": "Lixo",
        "chalkboard": ("Menores:", "à esquerda", "Maiores ou iguais:", "à direita"),
        # The menu.
        "subtitle": "Árvores de busca e rotações AVL",
        "tagline": "Monte uma árvore AVL na feira!",
        # The rotation question.
        "prompt_title": "Rotação!",
        "prompt_lines": ("A árvore ficou desbalanceada.", "Qual rotação a corrige?"),
        "prompt_hint": "Veja de que lado ela pesa:",
        # End cards: a title, the rule in bold lines and one softer line.
        "won": ("Parabéns!", ["Você montou uma árvore AVL completa!"],
                "Agora tente montá-la mais depressa."),
        "won_times": ("Seu tempo", "Recorde"),
        "lost_position": ("Posição errada!", ["Menores vão para a esquerda; maiores ou iguais,",
                                              "para a direita. Compare desde a raiz."], None),
        "lost_position_labels": ("Onde ela devia ficar", "A fruta", "onde você pôs"),
        "lost_rotation": ("Rotação errada!", ["Veja de que lado a árvore pesa: esquerda-esquerda,",
                                              "simples à direita; esquerda-direita, dupla à direita."],
                          "Do lado direito, o mesmo ao contrário."),
        "lost_rotation_labels": ("A rotação certa era:",),
        "lost_key": ("Chave repetida!", ["Cada número só pode entrar uma vez na árvore."],
                     "Jogue as frutas repetidas no lixo."),
        "lost_key_labels": ("A árvore", "Já estava lá"),
        "lost_time": ("Tempo esgotado!", ["Você tem 90 segundos para montar a árvore."],
                      "Seja rápido e tente de novo!"),
        "lost_time_labels": ("Suas barracas", "Barracas", "cheias:"),
        "lost_stuck": ("Sem saída!", ["Uma barraca ficou sem número possível:",
                                     "a árvore não pode mais ser completada."],
                       "Uma fruta que deixaria uma barraca assim vai para o lixo."),
        # The tree's heading, what the numbers drawn above it say, and the bin's badge.
        "lost_stuck_labels": ("A barraca sem saída", ("nenhum número", "novo cabe"),
                              ("Uma fruta assim", "vai para o lixo!")),
        # Practice cards: the lost card's rule under a friendlier title, and
        # the move taken back.
        "practice_position": ("Quase! Barraca errada", "A fruta volta para a sua mão: tente de novo."),
        "practice_rotation": ("Quase! Rotação errada", "A fruta volta para a sua mão: tente de novo."),
        "practice_key": ("Número repetido", "A fruta volta para a sua mão: leve-a ao lixo."),
        "practice_stuck": ("Quase! Sem saída", "A fruta volta para a sua mão: leve-a ao lixo."),
        "practice_complete": ("Árvore completa!", ["Você montou uma árvore AVL completa, sem relógio."],
                              "Agora tente uma partida de 90 segundos!"),
        "practice_time": "Seu tempo",
        "practice_mistakes": ("Erros", ["Barraca errada", "Rotação errada", "Número repetido",
                                        "Sem saída"]),
        # The results screen. Rotations in the order of the rotation buttons.
        "results_title": "Resultados",
        "results_rotations": ("Rotações", ("acertos", "vezes"),
                              ["Simples à direita", "Dupla à direita", "Simples à esquerda",
                               "Dupla à esquerda"]),
        "results_stalls": ("Barracas", "Na barraca certa", ("Frutas do lixo", "postas numa barraca")),
        # The stall named for a lost balance, under the rotations: one line or two.
        "results_where": ("Barraca", "desequilibrada"),
        # Headings of the markets and of practice, then their figures' labels.
        "results_matches": (("Mercado de 7 barracas", "Mercado de 15 barracas", "Prática"),
                            ["Jogadas", "Vencidas", "Recorde"], ["Completas", "Erros"]),
        "results_last": "Últimas 20 partidas (a mais recente à direita)",
        "results_empty": ("Ainda não há resultados.",
                          "Jogue uma partida ou pratique: cada jogada aparece aqui."),
        # Captions the game draws into the end cards.
        "caption_bin": ("Não cabia nas", "barracas: lixo!"),
        "caption_new_record": "Novo recorde!",
        "caption_no_record": "Sem recorde",
        "caption_count": "%d de 7",
        # Before the two numbers that close a stall, between them, and before the one
        # number where the range itself closes it: below 0, above 99.
        "caption_neighbours": ("Entre", "e", "Abaixo de", "Acima de"),
        # The instructions.
        "how_to_play": "Como jogar",
        "goal": ("Objetivo", "Pegue as frutas que caem do pomar e leve cada número à "
                 "barraca certa: as barracas formam uma árvore AVL. Encha as 7 para vencer!"),
        "controls": ("Controles", [
            "Setas: andar e pegar frutas. Esc: sair.",
            "Enter ou Espaço: inserir a fruta. Teclas 1 a 4: escolher a rotação.",
            "Enter também joga, volta e joga de novo. F11:\u00a0tela\u00a0cheia. M:\u00a0som."]),
        "rules": ("Regras", [
            "A barraca de cima é a raiz. Menores vão à esquerda; maiores ou iguais, à direita.",
            "Barraca errada ou número repetido: você perde, mesmo que a árvore fosse girar.",
            "Na barraca certa, se a árvore desbalancear, escolha a rotação certa; a errada faz perder.",
            "Você tem 90 segundos para montar a árvore.",
            "Fruta que deixaria outra barraca sem saída: lixo!"]),
        # The balance factor: the height of the left subtree minus that of the right,
        # so a tree heavy on the left has a positive one, as in the cases below.
        "practice_keys": ("Prática e resultados", [
            "P no menu: uma partida sem relógio; um erro é explicado e desfeito.",
            "H na prática: o fator de balanceamento de cada barraca, altura da subárvore "
            "esquerda menos a da direita; +2 ou \u22122 pede uma rotação.",
            "R no menu: os resultados de cada jogada, com a prática à parte."]),
        "or_else": ("ou, se não servir,", "→ lixo"),
        "which_rotation": "Qual rotação usar?",
        "cases": ["Pesa à esquerda-esquerda", "Pesa à esquerda-direita",
                  "Pesa à direita-direita", "Pesa à direita-esquerda"],
        # The big market (fifteen stalls in four levels).
        "page": ("Página 1", "Página 2"),
        "market_choice": ("Feira", "Tab", ("7", "barracas"), ("15", "barracas")),
        # The question asked before the rotation: which stall lost its balance.
        # Keys in brackets are drawn as keys.
        "where_title": "Desequilibrou!",
        "where_lines": ("A árvore perdeu o equilíbrio.", "Qual barraca?"),
        "where_rule": "Suba da fruta nova até a raiz: a primeira barraca com fator "
                      "+2\u00a0ou\u00a0\u22122 é a que gira.",
        "where_factor": "Fator: altura da esquerda menos a da direita, como nas plaquinhas.",
        "where_path": ("raiz", "gira!", "fruta nova", "suba"),
        "where_keys": ("[↑] [↓] escolhem a barraca", "[Enter] ou [Espaço] confirma",
                       "ou clique na barraca"),
        "where_next": "Depois vem a pergunta da rotação.",
        "lost_where": ("Não era essa barraca!", ["Suba da fruta nova até a raiz: a primeira",
                                                 "barraca com +2 ou \u22122 é a que gira."],
                       "O fator é a altura da esquerda menos a da direita."),
        "lost_where_labels": ("sua escolha", ("a que perdeu", "o equilíbrio")),
        "practice_where": ("Veja onde desequilibrou", "A fruta volta para a sua mão: tente de novo."),
        "practice_complete15": ("Árvore completa!", ["Você montou uma árvore AVL completa, sem relógio."],
                                "Agora tente uma partida de 180 segundos!"),
        "practice_mistakes15": ("Erros", ["Barraca errada", "Onde desequilibrou", "Rotação errada",
                                          "Número repetido", "Sem saída"]),
        "caption_count15": "%d de 15",
        "big_market": "A feira grande",
        "big_stalls": ("15 barracas", "Na feira grande são 15 barracas, em quatro níveis. Uma fruta "
                       "cujo lugar ficaria abaixo do quarto nível vai para o lixo. Você tem "
                       "180 segundos."),
        "big_where": ("Onde, depois qual", [
            "Se uma entrega desequilibrar a árvore, primeiro aponte a barraca que perdeu o "
            "equilíbrio: ↑\u00a0↓ e Enter ou Espaço, ou clique nela.",
            "Depois escolha a rotação, com as teclas 1 a 4."]),
        "big_rule": ("Gira a barraca desequilibrada mais baixa.",
                     "Fator: altura da esquerda menos a da direita; com +2\u00a0ou\u00a0\u22122, a barraca "
                     "está desequilibrada. Suba da fruta nova até a raiz e pare na primeira."),
        "big_example": ("Um exemplo", "Entram 50, 30, 70, 20, 40 e depois o 10:",
                        ("A mais baixa com +2\u00a0ou\u00a0\u22122 é a raiz, 50.",
                         "Pesa à esquerda-esquerda: rotação simples à direita."),
                        "40 deixa o 30 e passa para o 50", "fruta nova"),
    },
    "en": {
        "play": "Play",
        "instructions": "Instructions",
        "quit": "Quit",
        "back": "Back",
        "play_again": "Play again",
        "insert": "Insert",
        "leave": "Menu",
        "practice": "Practice",
        "results": "Results",
        "try_again": "Try again",
        "rotations": [("Single right", "rotation"), ("Double right", "rotation"),
                      ("Single left", "rotation"), ("Double left", "rotation")],
        "in_hand": ("In", "hand"),
        "bin": "Bin",
        "chalkboard": ("Smaller:", "to the left", "Greater or equal:", "to the right"),
        "subtitle": "Search trees and AVL rotations",
        "tagline": "Build an AVL tree at the market!",
        "prompt_title": "Rotation!",
        "prompt_lines": ("The tree is unbalanced.", "Which rotation fixes it?"),
        "prompt_hint": "Look at which side is heavy:",
        "won": ("Well done!", ["You built a complete AVL tree!"],
                "Now try to build it faster."),
        "won_times": ("Your time", "Best time"),
        "lost_position": ("Wrong stall!", ["Smaller numbers go left; greater or equal ones",
                                           "go right. Compare from the root down."], None),
        "lost_position_labels": ("Where it belonged", "The fruit", "where you put it"),
        "lost_rotation": ("Wrong rotation!", ["See where the tree is heavy: left-left takes a single",
                                              "right rotation; left-right takes a double right one."],
                          "On the right side, it is the same, mirrored."),
        "lost_rotation_labels": ("The correct rotation was:",),
        "lost_key": ("Repeated key!", ["Each number can go into the tree only once."],
                     "Throw repeated fruits into the bin."),
        "lost_key_labels": ("The tree", "Already there"),
        "lost_time": ("Time's up!", ["You have 90 seconds to build the tree."],
                      "Be quick and try again!"),
        "lost_time_labels": ("Your stalls", "Stalls", "filled:"),
        "lost_stuck": ("Dead end!", ["No number is left that fits one of the stalls:",
                                    "the tree can no longer be completed."],
                       "A fruit that would leave a stall like this belongs in the bin."),
        "lost_stuck_labels": ("The dead-end stall", ("no new number", "fits"),
                              ("Such a fruit", "goes in the bin!")),
        "practice_position": ("Almost! Wrong stall", "The fruit is back in your hand: try again."),
        "practice_rotation": ("Almost! Wrong rotation", "The fruit is back in your hand: try again."),
        "practice_key": ("Repeated number", "The fruit is back in your hand: take it to the bin."),
        "practice_stuck": ("Almost! Dead end", "The fruit is back in your hand: take it to the bin."),
        "practice_complete": ("Tree complete!", ["You built a complete AVL tree, with no clock."],
                              "Now try a 90-second match!"),
        "practice_time": "Your time",
        "practice_mistakes": ("Mistakes", ["Wrong stall", "Wrong rotation", "Repeated number",
                                           "Dead end"]),
        "results_title": "Results",
        "results_rotations": ("Rotations", ("correct", "asked"),
                              ["Single right", "Double right", "Single left", "Double left"]),
        "results_stalls": ("Stalls", "At the correct stall", ("Bin fruits", "put in a stall")),
        "results_where": "Unbalanced stall",
        "results_matches": (("Market of 7 stalls", "Market of 15 stalls", "Practice"),
                            ["Played", "Won", "Best time"], ["Completed", "Mistakes"]),
        "results_last": "Last 20 matches (newest on the right)",
        "results_empty": ("No results yet.", "Play a match or practise: every move shows up here."),
        "caption_bin": ("No room in the", "stalls: the bin!"),
        "caption_new_record": "New record!",
        "caption_no_record": "No record",
        "caption_count": "%d of 7",
        "caption_neighbours": ("Between", "and", "Below", "Above"),
        "how_to_play": "How to play",
        "goal": ("Goal", "Catch the fruits that fall from the orchard and take each number to "
                 "the correct stall: the stalls form a balanced search tree (AVL). "
                 "Fill all 7 stalls to win!"),
        "controls": ("Controls", [
            "Arrows: walk and pick up fruits. Esc: quit.",
            "Enter or Space: insert the fruit. Keys 1 to 4: choose the rotation.",
            "Enter also plays, goes back and plays again. F11:\u00a0full\u00a0screen. M:\u00a0sound."]),
        "rules": ("Rules", [
            "The top stall is the root. Smaller numbers go left; greater or equal ones, right.",
            "Wrong stall or repeated number: you lose, even if the tree would rotate.",
            "At the correct stall, if the tree is out of balance, choose the correct rotation; "
            "a wrong one loses.",
            "You have 90 seconds to build the tree.",
            "A fruit that would leave a stall unreachable: bin!"]),
        "practice_keys": ("Practice and results", [
            "P on the menu: a match with no clock; a mistake is explained and taken back.",
            "H in practice: each stall's balance factor, the height of its left subtree minus "
            "that of its right; +2 or \u22122 calls for a rotation.",
            "R on the menu: the results of every move, practice kept apart."]),
        "or_else": ("or, if no stall fits,", "→ bin"),
        "which_rotation": "Which rotation to use?",
        "cases": ["Left-left case", "Left-right case", "Right-right case", "Right-left case"],
        "page": ("Page 1", "Page 2"),
        "market_choice": ("Market", "Tab", ("7", "stalls"), ("15", "stalls")),
        "where_title": "Out of balance!",
        "where_lines": ("The tree lost its balance.", "Which stall?"),
        "where_rule": "Climb from the new fruit up to the root: the first stall whose factor "
                      "is +2\u00a0or\u00a0\u22122 is the one that rotates.",
        "where_factor": "Factor: the left height minus the right height, as the badges show.",
        "where_path": ("root", "rotates!", "new fruit", "climb"),
        "where_keys": ("[↑] [↓] choose the stall", "[Enter] or [Space] confirms",
                       "or click the stall"),
        "where_next": "The rotation is asked next.",
        "lost_where": ("Not that stall!", ["Climb from the new fruit up to the root: the first",
                                           "stall at +2 or \u22122 is the one rotated."],
                       "The factor is the left height minus the right height."),
        "lost_where_labels": ("your choice", ("the one out", "of balance")),
        "practice_where": ("See where it tipped", "The fruit is back in your hand: try again."),
        "practice_complete15": ("Tree complete!", ["You built a complete AVL tree, with no clock."],
                                "Now try a 180-second match!"),
        "practice_mistakes15": ("Mistakes", ["Wrong stall", "Unbalanced stall", "Wrong rotation",
                                             "Repeated number", "Dead end"]),
        "caption_count15": "%d of 15",
        "big_market": "The big market",
        "big_stalls": ("15 stalls", "The big market has 15 stalls in four levels. A fruit whose "
                       "place would be below the fourth level goes to the bin. You have "
                       "180 seconds."),
        "big_where": ("Where, then which", [
            "When a delivery unbalances the tree, first point at the stall that lost its "
            "balance: ↑\u00a0↓ and Enter or Space, or click it.",
            "Then name the rotation with keys 1 to 4."]),
        "big_rule": ("The lowest unbalanced stall is rotated.",
                     "Factor: the left height minus the right height; at +2\u00a0or\u00a0\u22122 a stall "
                     "is unbalanced. Climb from the new fruit to the root and stop at the first."),
        "big_example": ("An example", "Insert 50, 30, 70, 20, 40, then 10:",
                        ("The lowest at +2\u00a0or\u00a0\u22122 is the root, 50.",
                         "Heavy left-left: a single right rotation."),
                        "40 leaves 30 for 50", "new fruit"),
    },
}
